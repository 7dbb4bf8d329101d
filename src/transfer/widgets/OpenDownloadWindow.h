#pragma once

#include "transfer/DownloadJob.h"
#include "transfer/OpenDownload.h"
#include "transfer/TransferDisplay.h"
#include "transfer/TransferWorker.h"
#include "transfer/widgets/UndismissableDialog.h"

#include <QTimer>

class ElidedLabel;
class QLabel;
class QProgressBar;
class QPushButton;

// The modal window that fetches one server file to be opened (DOWNOPEN_WIN texts). On its
// first showing it clears the temporary folder of files from other days and starts the
// worker; a 200 ms timer, ticking first at once, shows the counters, and the window closes as
// soon as the worker has finished.
// Esc, Enter and the close box do nothing; the cancel button sets the job's flag.
class OpenDownloadWindow : public UndismissableDialog {
public:
    OpenDownloadWindow(OpenDownloadJob& job, DialogTextCopy texts, QWidget* parent = nullptr);
    ~OpenDownloadWindow() override;

    QPushButton* cancelButton() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void tick();
    void finish();

    OpenDownloadJob& job_;
    DialogTextCopy texts_;
    ElidedLabel* fileName_ = nullptr;
    QLabel* totalSize_ = nullptr;
    QLabel* doneSize_ = nullptr;
    QLabel* speed_ = nullptr;
    QLabel* timeLeft_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer timer_;
    RateMeter rate_;
    TransferWorker worker_;
    bool firstShow_ = true;
};
