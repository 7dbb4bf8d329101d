#include "transfer/widgets/OpenDownloadWindow.h"

#include "common/Formatting.h"
#include "transfer/widgets/ElidedLabel.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kTickMs = 200;

} // namespace

OpenDownloadWindow::OpenDownloadWindow(OpenDownloadJob& job, DialogTextCopy texts, QWidget* parent)
    : UndismissableDialog(parent), job_(job), texts_(std::move(texts)), worker_(job) {
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    buildLayout();
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &OpenDownloadWindow::tick);
}

OpenDownloadWindow::~OpenDownloadWindow() = default;

void OpenDownloadWindow::buildLayout() {
    setWindowTitle(texts_.text(QStringLiteral("WindowsTitle")));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const QStringList labels = {QStringLiteral("W_FILE"), QStringLiteral("W_SIZE"),
                                QStringLiteral("W_DOWNSIZE"), QStringLiteral("W_SPEED"),
                                QStringLiteral("W_LEFTTIME")};
    fileName_ = new ElidedLabel(this);
    totalSize_ = new QLabel(this);
    doneSize_ = new QLabel(this);
    speed_ = new QLabel(this);
    timeLeft_ = new QLabel(this);
    const QList<QLabel*> values = {fileName_, totalSize_, doneSize_, speed_, timeLeft_};
    for (int i = 0; i < labels.size(); ++i) {
        grid->addWidget(new QLabel(texts_.text(labels[i]), this), i, 0);
        grid->addWidget(values[i], i, 1);
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    layout->addWidget(progress_);
    cancel_ = new QPushButton(texts_.text(QStringLiteral("W_CANCELBUT")), this);
    cancel_->setAutoDefault(false);
    connect(cancel_, &QPushButton::clicked, this, [this] { job_.cancel(); });
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    resize(380, 200);
}

void OpenDownloadWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!firstShow_)
        return;
    firstShow_ = false;
    timer_.start();
    CleanOldTempFiles(job_.tempFolder);
    fileName_->setFullText(job_.fileName);
    worker_.start([this] { RunOpenDownload(job_); }, this, [this] { tick(); });
    // The first tick at once, from the event loop: a window must not close inside its showing.
    QMetaObject::invokeMethod(this, &OpenDownloadWindow::tick, Qt::QueuedConnection);
}

void OpenDownloadWindow::tick() {
    if (closeAllowed())
        return;
    if (job_.finished()) {
        finish();
        return;
    }
    const double total = static_cast<double>(job_.bytesTotal);
    const double done = static_cast<double>(job_.bytesDone);
    totalSize_->setText(SizeText(total));
    progress_->setRange(0, ProgressUnits(total));
    progress_->setValue(std::min(ProgressUnits(done), progress_->maximum()));
    doneSize_->setText(SizeText(done));
    if (!rate_.tick(done) || !job_.receiving)
        return;
    speed_->setText(SpeedText(rate_.bytesPerSecond()));
    const std::int64_t seconds = SecondsLeft(total, done, rate_.bytesPerSecond());
    if (seconds >= 0)
        timeLeft_->setText(TimeLeftText(seconds));
}

void OpenDownloadWindow::finish() {
    allowClose();
    timer_.stop();
    worker_.wait();
    QDialog::done(QDialog::Accepted);
}
