#include "transfer/widgets/DownloadWindow.h"

#include "common/Formatting.h"
#include "common/RememberedValues.h"
#include "common/ThemeIcons.h"
#include "transfer/DownloadEngine.h"
#include "transfer/widgets/ElidedLabel.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kTickMs = 200;
enum Column { NameColumn, StatusColumn, SizeColumn };

} // namespace

// The resource macro declares its function in the enclosing namespace: it must be global.
static void InitResources() {
    Q_INIT_RESOURCE(transfer);
}

DownloadWindow::DownloadWindow(DownloadJob& job, Prompter& prompter, bool folderGiven,
                               bool cancelButtons, QWidget* parent)
    : UndismissableDialog(parent), job_(job), prompter_(prompter), questions_(this, prompter, job),
      folderGiven_(folderGiven), cancelButtons_(cancelButtons), worker_(job) {
    InitResources();
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    buildLayout();
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &DownloadWindow::tick);
}

DownloadWindow::~DownloadWindow() = default;

void DownloadWindow::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    animation_ = new QLabel(this);
    status_ = new ElidedLabel(this);
    top->addWidget(animation_);
    top->addWidget(status_, 1);
    layout->addLayout(top);

    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setColumnCount(3);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->header()->resizeSection(NameColumn, 182);
    list_->header()->resizeSection(StatusColumn, 70);
    layout->addWidget(list_, 1);

    auto* grid = new QGridLayout;
    speed_ = new QLabel(this);
    timeLeft_ = new QLabel(this);
    count_ = new QLabel(this);
    sizeLine_ = new QLabel(this);
    const QStringList labels = {QStringLiteral("W_Speed"), QStringLiteral("W_Time"),
                                QStringLiteral("W_Count")};
    const QList<QLabel*> values = {speed_, timeLeft_, count_};
    for (int i = 0; i < labels.size(); ++i) {
        auto* label = new QLabel(job_.texts.text(labels[i]), this);
        grid->addWidget(label, i, 0);
        grid->addWidget(values[i], i, 1);
    }
    grid->addWidget(sizeLine_, 3, 0, 1, 2);
    layout->addLayout(grid);

    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    layout->addWidget(progress_);

    auto* buttons = new QHBoxLayout;
    cancelFile_ = new QPushButton(this);
    cancelAll_ = new QPushButton(this);
    for (QPushButton* button : {cancelFile_, cancelAll_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(cancelFile_, &QPushButton::clicked, this, [this] { job_.cancelCurrentFile(); });
    connect(cancelAll_, &QPushButton::clicked, this, [this] { job_.cancel(); });
    resize(460, 420);
}

void DownloadWindow::applyTexts() {
    const DialogTextCopy& texts = job_.texts;
    caption_ = texts.text(QStringLiteral("W_DownTxt"));
    setWindowTitle(texts.text(QStringLiteral("WindowsTitle")));
    status_->setFullText(texts.text(QStringLiteral("S_ConnentMsg")));
    cancelFile_->setText(texts.text(QStringLiteral("W_CancelBut")));
    cancelAll_->setText(texts.text(QStringLiteral("W_AllCancelBut")));
    list_->setHeaderLabels({texts.text(QStringLiteral("W_COLTITLE_NAME")),
                            texts.text(QStringLiteral("W_COLTITLE_STATUS")),
                            texts.text(QStringLiteral("W_COLTITLE_SIZE"))});
    sizeLine_->setText(QStringLiteral("(0B / 0MB, 0% ") + caption_ + QLatin1Char(')'));
}

void DownloadWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!firstShow_)
        return;
    firstShow_ = false;
    cancelFile_->setEnabled(cancelButtons_);
    cancelAll_->setEnabled(cancelButtons_);
    applyTexts();
    // Questions open their own modal windows: ask them once this one is on screen.
    QTimer::singleShot(0, this, &DownloadWindow::start);
}

bool DownloadWindow::settleTargetFolder() {
    DownloadSettings& settings = job_.settings;
    if (settings.fixedFolder || folderGiven_) {
        while (settings.downloadFolder.size() > 1 && settings.downloadFolder.endsWith('/'))
            settings.downloadFolder.chop(1);
        return true;
    }
    if (settings.downStyle != 1)
        return true;
    const QString chosen = prompter_.chooseFolder(job_.texts.text(QStringLiteral("WC_TITLE")),
                                                  GetRemembered(RememberedValue::DownloadPath));
    if (chosen.isEmpty())
        return false;
    SetRemembered(RememberedValue::DownloadPath, chosen);
    settings.downloadFolder = chosen;
    return true;
}

void DownloadWindow::fillRows() {
    list_->clear();
    for (int i = 0; i < job_.rowCount(); ++i) {
        const DownloadRow& row = job_.row(i);
        auto* item = new QTreeWidgetItem(list_);
        item->setText(NameColumn, row.name);
        item->setIcon(NameColumn, row.isFolder
                                      ? ThemeIcon(QStringLiteral("folder"), IconKind::Folder)
                                      : FileTypeIcon(row.name));
        item->setText(SizeColumn, row.isFolder ? QString() : SizeText(row.size));
        item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
    }
    shownStates_.assign(static_cast<size_t>(job_.rowCount()), -1);
    refreshRows();
}

void DownloadWindow::start() {
    if (!settleTargetFolder() || job_.rowCount() == 0) {
        finish();
        return;
    }
    fillRows();
    auto* movie = new QMovie(QStringLiteral(":/transfer/IDR_DOWNLOADANI.gif"), {}, animation_);
    animation_->setMovie(movie);
    movie->start();
    progress_->setRange(0, ProgressUnits(static_cast<double>(job_.bytesTotal)));
    sizeLine_->setText(QLatin1Char('(') + SizeText(job_.bytesTotal) + QStringLiteral(" / 0KB, 0%") +
                       caption_ + QLatin1Char(')'));
    // The timer only from here: the folder question may stay open for long, and the rows it
    // shows are listed only now.
    timer_.start();
    worker_.start([this] { RunDownload(job_, questions_); }, this, [this] { tick(); });
    tick();
}

QString DownloadWindow::stateText(int index) const {
    const DownloadRow& row = job_.row(index);
    const char* label = "SL_Wait";
    switch (row.state.load()) {
    case DownloadRow::Waiting:
        label = "SL_Wait";
        break;
    case DownloadRow::Checking:
        label = "SL_FileChkMsg";
        break;
    case DownloadRow::Receiving:
        label = "SL_DownloadMsg";
        break;
    case DownloadRow::Succeeded:
        label = "SL_SuccessMsg";
        break;
    case DownloadRow::Skipped:
        label = "SL_SkipMsg";
        break;
    case DownloadRow::Cancelled:
        label = "SL_CancelMsg";
        break;
    case DownloadRow::Failed:
        label = "SL_FailureMsg";
        break;
    case DownloadRow::NoTarget:
        label = "FailureMsg";
        break;
    case DownloadRow::Retrying: {
        // Pages written before automatic resume have no text for it.
        const QString text = job_.texts.text(QStringLiteral("SL_RetryMsg"));
        return text.isEmpty() ? QStringLiteral("retrying") : text;
    }
    }
    return job_.texts.text(QLatin1String(label));
}

void DownloadWindow::refreshRows() {
    for (int i = 0; i < job_.rowCount(); ++i) {
        const DownloadRow& row = job_.row(i);
        const int state = row.state.load();
        QTreeWidgetItem* item = list_->topLevelItem(i);
        // A row being received shows how much of it is on disk, whichever lane fetches it.
        if (state == DownloadRow::Receiving)
            item->setText(StatusColumn, PercentText(static_cast<double>(row.bytesOnDisk),
                                                    static_cast<double>(row.size), false));
        if (state == shownStates_[static_cast<size_t>(i)])
            continue;
        shownStates_[static_cast<size_t>(i)] = state;
        if (state != DownloadRow::Receiving)
            item->setText(StatusColumn, stateText(i));
    }
    status_->setFullText(job_.statusLine());
    count_->setText(job_.countLine());
}

void DownloadWindow::refreshCurrentRow() {
    const double total = static_cast<double>(job_.bytesTotal);
    const double done = static_cast<double>(job_.bytesDone);
    sizeLine_->setText(SizeLineText(total, done, caption_, false));
    progress_->setRange(0, ProgressUnits(total));
    progress_->setValue(std::min(ProgressUnits(done), progress_->maximum()));
    const int index = job_.newestRowUnderWay();
    if (index < 0)
        return;
    QTreeWidgetItem* item = list_->topLevelItem(index);
    list_->setCurrentItem(item);
    list_->scrollToItem(item);
}

void DownloadWindow::tick() {
    if (closeAllowed())
        return;
    if (job_.finished()) {
        finish();
        return;
    }
    refreshRows();
    const bool receiving = job_.receiving > 0;
    if (receiving)
        refreshCurrentRow();
    if (!rate_.tick(static_cast<double>(job_.bytesDone)) || !receiving)
        return;
    const double rate = rate_.bytesPerSecond();
    speed_->setText(SpeedText(rate));
    const std::int64_t seconds = SecondsLeft(static_cast<double>(job_.bytesTotal),
                                             static_cast<double>(job_.bytesDone), rate);
    if (seconds >= 0)
        timeLeft_->setText(TimeLeftText(seconds));
}

void DownloadWindow::finish() {
    allowClose();
    timer_.stop();
    worker_.wait();
    if (!shownStates_.empty()) {
        refreshRows();
        const double total = static_cast<double>(job_.bytesTotal);
        sizeLine_->setText(
            SizeLineText(total, static_cast<double>(job_.bytesDone), caption_, true));
    }
    QDialog::done(QDialog::Accepted);
}
