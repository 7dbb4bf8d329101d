#pragma once

#include "transfer/FormPostJob.h"
#include "transfer/TransferWorker.h"
#include "transfer/widgets/UndismissableDialog.h"
#include "xml/UIConfig.h"

#include <QTimer>

class QLabel;
class QProgressBar;

// The modal window a form post runs in. Its first showing starts the one worker; a 100 ms
// timer follows the bytes sent, and the window closes as soon as the worker has finished. It
// stays invisible (fully transparent) for its first ten ticks, so a post that ends within about
// a second is never seen. Esc, Enter and the close box do nothing: a post has no cancel.
class FormPostWindow : public UndismissableDialog {
    Q_OBJECT
public:
    FormPostWindow(FormPostJob& job, const UIConfig& uiConfig, QWidget* parent = nullptr);
    ~FormPostWindow() override;

    // Whether the post has lasted long enough for the window to be seen.
    bool revealed() const;
    QProgressBar* progressBar() const { return progress_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyTexts();
    void tick();

    FormPostJob& job_;
    DialogTexts texts_;
    QLabel* comment_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer timer_;
    TransferWorker worker_;
    int showCounter_ = 0;
    bool firstShow_ = true;
};

// Runs `job` in its window over `parent`; returns when the post is over.
void RunFormPostWindow(FormPostJob& job, const UIConfig& uiConfig, QWidget* parent);
