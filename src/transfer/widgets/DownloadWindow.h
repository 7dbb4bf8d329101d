#pragma once

#include "common/Prompter.h"
#include "transfer/DownloadJob.h"
#include "transfer/DownloadQuestions.h"
#include "transfer/TransferDisplay.h"
#include "transfer/TransferWorker.h"
#include "transfer/widgets/UndismissableDialog.h"

#include <QTimer>
#include <memory>
#include <vector>

class ElidedLabel;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

// The modal window a multi-file download runs in. On its first showing it settles the target
// folder (asking for one when none is fixed), lists the job's rows and starts the one worker;
// a 200 ms timer, ticking first at once, shows the job's counters (every row under way), and
// the window closes as soon as the worker has finished. Esc, Enter and the close box do nothing;
// the two cancel buttons set the job's flags. The worker's questions are asked here, on the UI
// thread, through `prompter`. The worker never outlives the window.
class DownloadWindow : public UndismissableDialog {
public:
    // `folderGiven`: the caller supplied the drop folder. `cancelButtons`: HttpDownloadCancelBut.
    DownloadWindow(DownloadJob& job, Prompter& prompter, bool folderGiven, bool cancelButtons,
                   QWidget* parent = nullptr);
    ~DownloadWindow() override;

    QPushButton* cancelFileButton() const { return cancelFile_; }
    QPushButton* cancelAllButton() const { return cancelAll_; }
    QTreeWidget* fileList() const { return list_; }
    // True when the worker was started (false: no folder chosen or nothing to fetch).
    bool workerStarted() const { return worker_.started(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void applyTexts();
    void start();
    bool settleTargetFolder();
    void fillRows();
    void tick();
    void refreshRows();
    void refreshCurrentRow();
    QString stateText(int row) const;
    void finish();

    DownloadJob& job_;
    Prompter& prompter_;
    PrompterQuestions questions_;
    bool folderGiven_;
    bool cancelButtons_;
    QString caption_;
    ElidedLabel* status_ = nullptr;
    QLabel* speed_ = nullptr;
    QLabel* timeLeft_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* sizeLine_ = nullptr;
    QLabel* animation_ = nullptr;
    QPushButton* cancelFile_ = nullptr;
    QPushButton* cancelAll_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QTimer timer_;
    RateMeter rate_;
    std::vector<int> shownStates_;
    TransferWorker worker_;
    bool firstShow_ = true;
};
