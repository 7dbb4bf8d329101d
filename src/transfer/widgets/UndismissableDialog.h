#pragma once

#include <QDialog>

// A modal window the user cannot dismiss: Esc and Enter do nothing, and reject() and the close
// box are ignored until the owner calls allowClose(). The transfer windows close themselves
// when their worker has finished; the download question closes only by its confirm button.
class UndismissableDialog : public QDialog {
public:
    using QDialog::QDialog;

    void reject() override {}

protected:
    void allowClose() { closeAllowed_ = true; }
    bool closeAllowed() const { return closeAllowed_; }

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool closeAllowed_ = false;
};
