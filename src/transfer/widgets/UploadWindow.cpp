#include "transfer/widgets/UploadWindow.h"

#include "common/Formatting.h"
#include "common/ThemeIcons.h"
#include "transfer/UploadEngine.h"
#include "transfer/widgets/ElidedLabel.h"
#include "xml/MessageFill.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

namespace {

constexpr int kTickMs = 200;
constexpr int kNameWidth = 182;
constexpr int kStatusWidth = 50;
constexpr int kSizeWidth = 127;
enum Column { NameColumn, StatusColumn, SizeColumn };

} // namespace

// The resources of a static library are registered by hand (outside any namespace).
static void InitTransferResources() {
    Q_INIT_RESOURCE(transfer);
}

UploadWindow::UploadWindow(UploadJob& job, const UIConfig& uiConfig, QWidget* parent)
    : UndismissableDialog(parent), job_(job), texts_(uiConfig.Dialog(UIDialog::UploadWin)),
      worker_(job) {
    InitTransferResources();
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    buildLayout();
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &UploadWindow::tick);
    connect(cancelButton_, &QPushButton::clicked, this, [this] { job_.cancel(); });
}

UploadWindow::~UploadWindow() = default;

void UploadWindow::buildLayout() {
    status_ = new ElidedLabel(this);
    speed_ = new QLabel(this);
    timeLeft_ = new QLabel(this);
    count_ = new QLabel(this);
    sizeLine_ = new QLabel(this);
    animation_ = new QLabel(this);
    cancelButton_ = new QPushButton(this);
    cancelButton_->setAutoDefault(false);
    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    list_ = new QTreeWidget(this);
    list_->setColumnCount(3);
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setColumnWidth(NameColumn, kNameWidth);
    list_->setColumnWidth(StatusColumn, kStatusWidth);
    list_->setColumnWidth(SizeColumn, kSizeWidth);
    // Wide enough for the three columns beside a vertical scroll bar: nothing to scroll sideways.
    const int scrollBar = list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list_);
    list_->setMinimumWidth(kNameWidth + kStatusWidth + kSizeWidth + scrollBar +
                           2 * list_->frameWidth());
    auto* grid = new QGridLayout(this);
    grid->addWidget(animation_, 0, 0, 1, 4);
    grid->addWidget(list_, 1, 0, 1, 4);
    grid->addWidget(status_, 2, 0, 1, 4);
    grid->addWidget(progress_, 3, 0, 1, 4);
    grid->addWidget(sizeLine_, 4, 0, 1, 4);
    grid->addWidget(new QLabel(texts_.text("W_Speed"), this), 5, 0);
    grid->addWidget(speed_, 5, 1);
    grid->addWidget(new QLabel(texts_.text("W_Time"), this), 5, 2);
    grid->addWidget(timeLeft_, 5, 3);
    grid->addWidget(new QLabel(texts_.text("W_Count"), this), 6, 0);
    grid->addWidget(count_, 6, 1, 1, 2);
    grid->addWidget(cancelButton_, 6, 3);
}

void UploadWindow::applyTexts() {
    caption_ = texts_.text("W_UpTxt");
    setWindowTitle(texts_.text("WindowsTitle"));
    cancelButton_->setText(texts_.text("W_CancelBut"));
    list_->setHeaderLabels({texts_.text("W_COLTITLE_NAME"), texts_.text("W_COLTITLE_STATUS"),
                            texts_.text("W_COLTITLE_SIZE")});
}

void UploadWindow::fillRows() {
    const QString waiting = texts_.text("SL_Wait");
    QList<QTreeWidgetItem*> items;
    for (const UploadRow& row : job_.rows()) {
        auto* item = new QTreeWidgetItem({row.name, waiting, SizeText(row.size)});
        item->setIcon(NameColumn, FileTypeIcon(row.name));
        items.append(item);
    }
    list_->addTopLevelItems(items);
}

void UploadWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!firstShow_)
        return;
    firstShow_ = false;
    applyTexts();
    fillRows();
    cancelButton_->setEnabled(job_.cancelButtonEnabled);
    const double total = static_cast<double>(job_.bytesTotal);
    progress_->setRange(0, ProgressUnits(total));
    progress_->setValue(0);
    sizeLine_->setText(SizeLineText(total, 0, caption_, false));
    refreshStatusLine();
    refreshCountLine();
    auto* movie = new QMovie(":/transfer/IDR_DOWNLOADANI.gif", {}, animation_);
    animation_->setMovie(movie);
    movie->start();
    timer_.start();
    startWorker();
    // The first tick at once, from the event loop: a window must not close inside its showing.
    QMetaObject::invokeMethod(this, &UploadWindow::tick, Qt::QueuedConnection);
}

void UploadWindow::startWorker() {
    worker_.start([this] { RunUpload(job_); }, this, [this] { tick(); });
}

void UploadWindow::tick() {
    if (closeAllowed())
        return;
    cancelButton_->setEnabled(job_.cancelButtonEnabled && job_.progressLive);
    refreshStatusLine();
    refreshCountLine();
    if (job_.finished()) {
        timer_.stop();
        worker_.wait();
        refreshProgress();
        allowClose();
        accept();
        return;
    }
    if (!job_.sendingBody)
        return;
    refreshProgress();
    const double sent = static_cast<double>(job_.bytesDone);
    if (!rate_.tick(sent))
        return;
    const double perSecond = rate_.bytesPerSecond();
    speed_->setText(SpeedText(perSecond));
    const std::int64_t left = SecondsLeft(static_cast<double>(job_.bytesTotal), sent, perSecond);
    if (left >= 0)
        timeLeft_->setText(TimeLeftText(left));
}

void UploadWindow::refreshProgress() {
    const qint64 sent = job_.bytesDone;
    sizeLine_->setText(SizeLineText(static_cast<double>(job_.bytesTotal), static_cast<double>(sent),
                                    caption_, job_.finished()));
    progress_->setValue(ProgressUnits(static_cast<double>(sent)));
    const int done = job_.filesDone;
    for (; rowsShownDone_ < done && rowsShownDone_ < list_->topLevelItemCount(); ++rowsShownDone_)
        showRowPercent(rowsShownDone_, static_cast<qint64>(job_.rows()[rowsShownDone_].size), true);
    const int row = job_.currentRow;
    if (row >= done && row < list_->topLevelItemCount() && job_.sendingBody) {
        showRowPercent(row, job_.bytesThisFile, false);
        list_->setCurrentItem(list_->topLevelItem(row));
        list_->scrollToItem(list_->topLevelItem(row));
    }
}

void UploadWindow::showRowPercent(int row, qint64 done, bool finished) {
    const double size = job_.rows()[row].size;
    list_->topLevelItem(row)->setText(StatusColumn,
                                      PercentText(static_cast<double>(done), size, finished));
}

void UploadWindow::refreshStatusLine() {
    switch (job_.stage.load()) {
    case UploadStage::Connecting:
        status_->setFullText(texts_.text("S_ConnentMsg"));
        break;
    case UploadStage::Sending: {
        const int row = job_.currentRow;
        const QString name = row >= 0 && row < job_.fileCount() ? job_.rows()[row].name : "";
        status_->setFullText('"' + name + ' ' + texts_.text("S_UploadMsg"));
        break;
    }
    case UploadStage::Saved:
        status_->setFullText(texts_.text("S_FileSaved"));
        break;
    }
}

void UploadWindow::refreshCountLine() {
    const int total = job_.fileCount();
    const int done = job_.filesDone;
    count_->setText(
        FillMessage("%d %s (%d / %d)", {QString::number(total - done), texts_.text("W_CountTxt"),
                                        QString::number(total), QString::number(done)}));
}
