#pragma once

#include "transfer/TransferDisplay.h"
#include "transfer/TransferWorker.h"
#include "transfer/UploadJob.h"
#include "transfer/widgets/UndismissableDialog.h"
#include "xml/UIConfig.h"

#include <QTimer>

class ElidedLabel;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

// The modal window an upload runs in. On its first showing it fills its list from the job's
// rows and starts the one worker thread; a 200 ms timer, ticking first at once, shows the
// job's counters, and the window closes as soon as the worker has finished. Esc, Enter and the
// close box do nothing; the cancel button sets the job's cancel flag. The worker never outlives
// the window.
class UploadWindow : public UndismissableDialog {
    Q_OBJECT
public:
    UploadWindow(UploadJob& job, const UIConfig& uiConfig, QWidget* parent = nullptr);
    ~UploadWindow() override;

    QPushButton* cancelButton() const { return cancelButton_; }
    QTreeWidget* fileList() const { return list_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void applyTexts();
    void fillRows();
    void startWorker();
    void tick();
    void refreshProgress();
    void refreshStatusLine();
    void refreshCountLine();
    void showRowPercent(int row, qint64 done, bool finished);

    UploadJob& job_;
    DialogTexts texts_;
    QString caption_;
    ElidedLabel* status_ = nullptr;
    QLabel* speed_ = nullptr;
    QLabel* timeLeft_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* sizeLine_ = nullptr;
    QLabel* animation_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QTimer timer_;
    RateMeter rate_;
    TransferWorker worker_;
    int rowsShownDone_ = 0;
    bool firstShow_ = true;
};
