#include "panes/local/widgets/FolderScanWindow.h"

#include "panes/local/FolderScanJob.h"
#include "panes/local/QueuedUploadRows.h"
#include "panes/local/RealLocalNamespace.h"
#include "transfer/UploadJob.h"
#include "xml/UIConfig.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kScanTickMs = 100;
constexpr int kBuildTickMs = 500;
// A scan shows itself once its counter, 100 per tick, passes this (about three seconds).
constexpr int kShowAfter = 3000;
constexpr int kShown = 10000;

QString text(const UIConfig& config, const char* key) {
    return config.Dialog(UIDialog::CreateListDataWin).text(QLatin1String(key));
}

} // namespace

FolderScanWindow::FolderScanWindow(Mode mode, const UIConfig& uiConfig,
                                   std::function<ScanProgress()> step,
                                   std::function<QString()> currentItem, std::function<void()> stop,
                                   QWidget* parent)
    : QDialog(parent), mode_(mode), uiConfig_(uiConfig), step_(std::move(step)),
      currentItem_(std::move(currentItem)), comment_(new QLabel(this)),
      currentLine_(new QLabel(this)), stopButton_(new QPushButton(this)) {
    setModal(true);
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0);
    currentLine_->setTextFormat(Qt::PlainText);
    currentLine_->setMinimumWidth(360);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(busy);
    layout->addWidget(comment_);
    layout->addWidget(currentLine_);
    layout->addWidget(stopButton_, 0, Qt::AlignRight);
    connect(stopButton_, &QPushButton::clicked, this, [stop = std::move(stop)] {
        if (stop)
            stop();
    });
    connect(&timer_, &QTimer::timeout, this, &FolderScanWindow::tick);
    nextStep_.setSingleShot(true);
    nextStep_.setInterval(0);
    connect(&nextStep_, &QTimer::timeout, this, &FolderScanWindow::runStep);
    if (mode_ != UploadListBuild)
        setWindowOpacity(0.0);
}

void FolderScanWindow::applyTexts() {
    setWindowTitle(text(uiConfig_, "WindowsTitle"));
    stopButton_->setText(text(uiConfig_, "W_CancelBut"));
    comment_->setText(text(uiConfig_, "W_Comment"));
}

void FolderScanWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!std::exchange(firstShow_, false))
        return;
    if (mode_ == UploadListBuild) {
        applyTexts();
        timer_.start(kBuildTickMs);
        runStep();
        return;
    }
    timer_.start(kScanTickMs);
}

void FolderScanWindow::runStep() {
    if (done_)
        return;
    switch (step_()) {
    case ScanProgress::Finished:
        done_ = true;
        // Closes at once rather than at the next tick, from the event loop: a step may run
        // inside the window's showing, where it must not close.
        QMetaObject::invokeMethod(this, &FolderScanWindow::closeWhenDone, Qt::QueuedConnection);
        break;
    case ScanProgress::StepsReady:
        nextStep_.start();
        break;
    case ScanProgress::Waiting:
        break;
    }
}

void FolderScanWindow::tick() {
    // While steps are ready the next one is already on its way.
    if (!nextStep_.isActive())
        runStep();
    if (done_) {
        closeWhenDone();
        return;
    }
    currentLine_->setText(currentItem_ ? currentItem_() : QString());
    if (showCounter_ <= kShowAfter) {
        showCounter_ += 100;
    } else if (showCounter_ < kShown) {
        applyTexts();
        setWindowOpacity(1.0);
        showCounter_ = kShown;
    }
}

void FolderScanWindow::closeWhenDone() {
    if (!isVisible())
        return;
    timer_.stop();
    accept();
}

short RunFolderScan(QWidget* parent, const UIConfig& uiConfig, AttachTarget& target,
                    ControlEvents& events, const QString& folder, bool structured) {
    FolderScanJob job(PathFromText(folder), structured, target, events);
    FolderScanWindow window(
        structured ? FolderScanWindow::StructuredScan : FolderScanWindow::FlatScan, uiConfig,
        [&job] { return job.poll(); }, [&job] { return job.currentPath(); }, [&job] { job.stop(); },
        parent);
    job.start();
    window.exec();
    return job.result();
}

qint16 RunUploadListBuild(QWidget* parent, const UIConfig& uiConfig,
                          const ServerCatalogue& catalogue, const QueuedUploads& queued,
                          QList<UploadRow>& rows) {
    int skipped = 0;
    QString current;
    FolderScanWindow window(
        FolderScanWindow::UploadListBuild, uiConfig,
        [&] {
            rows = BuildUploadRows(catalogue, queued, skipped);
            current = rows.isEmpty() ? QString() : rows.last().localPath;
            return ScanProgress::Finished;
        },
        [&current] { return current; }, {}, parent);
    window.exec();
    return 0;
}
