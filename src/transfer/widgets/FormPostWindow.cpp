#include "transfer/widgets/FormPostWindow.h"

#include "transfer/FormPostEngine.h"
#include "transfer/TransferDisplay.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

constexpr int kTickMs = 100;
// The counter grows by this much a tick until it stops at kCounterCeiling; reaching exactly
// kShowAt (the tenth tick) shows the window and moves the counter to kShown.
constexpr int kCounterStep = 200;
constexpr int kCounterCeiling = 3000;
constexpr int kShowAt = 2000;
constexpr int kShown = 10000;
constexpr int kMinimumWidth = 320;

} // namespace

FormPostWindow::FormPostWindow(FormPostJob& job, const UIConfig& uiConfig, QWidget* parent)
    : UndismissableDialog(parent), job_(job), texts_(uiConfig.Dialog(UIDialog::PostWin)),
      comment_(new QLabel(this)), progress_(new QProgressBar(this)), worker_(job) {
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    setMinimumWidth(kMinimumWidth);
    progress_->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(comment_);
    layout->addWidget(progress_);
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &FormPostWindow::tick);
    setWindowOpacity(0.0);
    applyTexts();
}

FormPostWindow::~FormPostWindow() = default;

bool FormPostWindow::revealed() const {
    return showCounter_ == kShown;
}

void FormPostWindow::applyTexts() {
    setWindowTitle(texts_.text("WindowsTitle"));
    comment_->setText(texts_.text("W_Comment"));
}

void FormPostWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!std::exchange(firstShow_, false))
        return;
    progress_->setRange(0, 0);
    timer_.start();
    worker_.start([this] { RunFormPost(job_); }, this, [this] { tick(); });
}

void FormPostWindow::tick() {
    if (closeAllowed())
        return;
    if (job_.finished()) {
        timer_.stop();
        worker_.wait();
        allowClose();
        accept();
        return;
    }
    const qint64 total = job_.bytesTotal;
    if (total > 0) {
        progress_->setRange(0, ProgressUnits(static_cast<double>(total)));
        progress_->setValue(ProgressUnits(static_cast<double>(job_.bytesDone)));
    }
    if (showCounter_ >= kCounterCeiling)
        return;
    showCounter_ += kCounterStep;
    if (showCounter_ == kShowAt) {
        showCounter_ = kShown;
        applyTexts();
        setWindowOpacity(1.0);
    }
}

void RunFormPostWindow(FormPostJob& job, const UIConfig& uiConfig, QWidget* parent) {
    FormPostWindow window(job, uiConfig, parent);
    window.exec();
}
