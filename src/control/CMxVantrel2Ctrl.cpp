#include "control/CMxVantrel2Ctrl.h"

#include "common/ThemeIcons.h"
#include "control/ControlInputFilter.h"
#include "control/PaneHostWindow.h"
#include "control/WindowRegion.h"

#include <QApplication>
#include <QJSEngine>
#include <QResizeEvent>
#include <QStyle>

// Properties whose read answers the stored value and whose write stores it.
#define VANTREL_STORED_PROPERTY(Type, Name)                                                        \
    Type CMxVantrel2Ctrl::get##Name() const {                                                      \
        return settings().Name;                                                                    \
    }                                                                                              \
    void CMxVantrel2Ctrl::set##Name(Type value) {                                                  \
        store(settings().Name, value);                                                             \
    }

#define VANTREL_STORED_TEXT_PROPERTY(Name)                                                         \
    QString CMxVantrel2Ctrl::get##Name() const {                                                   \
        return settings().Name;                                                                    \
    }                                                                                              \
    void CMxVantrel2Ctrl::set##Name(const QString& value) {                                        \
        store(settings().Name, value);                                                             \
    }

// Properties that read empty: the value is kept for the control's own use only.
#define VANTREL_HIDDEN_TEXT_PROPERTY(Name)                                                         \
    QString CMxVantrel2Ctrl::get##Name() const {                                                   \
        return {};                                                                                 \
    }                                                                                              \
    void CMxVantrel2Ctrl::set##Name(const QString& value) {                                        \
        store(settings().Name, value);                                                             \
    }

// Properties that always read true and whose assignment changes nothing.
#define VANTREL_CONSTANT_TRUE_PROPERTY(Name)                                                       \
    bool CMxVantrel2Ctrl::get##Name() const {                                                      \
        return true;                                                                               \
    }                                                                                              \
    void CMxVantrel2Ctrl::set##Name(bool) {                                                        \
        ignoreAssignment();                                                                        \
    }

namespace {

// Panes ask for icons by theme name; without a desktop theme they get Qt's own style icons.
// The style's icons are taken first: once a theme is set, the style answers from it.
void installIcons(const QStyle& style) {
    SetFallbackIcons(style.standardIcon(QStyle::SP_DirIcon),
                     style.standardIcon(QStyle::SP_DriveHDIcon),
                     style.standardIcon(QStyle::SP_FileIcon));
    UseInstalledIconTheme();
}

} // namespace

CMxVantrel2Ctrl::CMxVantrel2Ctrl(QWidget* parent)
    : QWidget(parent), paneHost_(new PaneHostWindow(*this, this)) {
    installIcons(*style());
    // Keys reach the focused widget inside the panes first, so the filter sits on the
    // application; it only acts on events for this control's widgets.
    qApp->installEventFilter(new ControlInputFilter(*this, *paneHost_, *this));
}

CMxVantrel2Ctrl::~CMxVantrel2Ctrl() = default;

ControlSettings& CMxVantrel2Ctrl::settings() {
    return paneHost_->settings();
}

const ControlSettings& CMxVantrel2Ctrl::settings() const {
    return paneHost_->settings();
}

void CMxVantrel2Ctrl::loadPropertySet(const PropertySet& set) {
    LoadPropertySet(set, settings(), ieControlBarAllVisiable_, ieRoundRectRgn_);
}

QList<QPair<QString, QString>> CMxVantrel2Ctrl::savePropertySet() const {
    return SavePropertySet(settings(), ieControlBarAllVisiable_, ieRoundRectRgn_);
}

void CMxVantrel2Ctrl::Run() {
    if (!initialisePending_)
        return;
    initialisePending_ = false;
    TakeHostPageValues(settings(), hostPage_.domain, hostPage_.port, hostPage_.cookie);
    // Hiding the browser's bars (IeControlBarAllVisiable) has no counterpart here: the
    // host window has no bars. The rounded region applies to the top-level window instead.
    if (!ieRoundRectRgn_.isEmpty())
        ApplyRoundRectRegion(window(), ieRoundRectRgn_);
    paneHost_->setGeometry(rect());
    paneHost_->applyLayoutMode();
}

void CMxVantrel2Ctrl::showEvent(QShowEvent* event) {
    Run();
    QWidget::showEvent(event);
}

void CMxVantrel2Ctrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    paneHost_->setGeometry(0, 0, event->size().width(), event->size().height());
}

short CMxVantrel2Ctrl::getFileAttachViewMode() {
    if (QJSEngine* engine = qjsEngine(this))
        engine->throwError(QJSValue::TypeError,
                           QStringLiteral("Property \"FileAttachViewMode\" is write-only"));
    return 0;
}

void CMxVantrel2Ctrl::setFileAttachViewMode(short) {
    ignoreAssignment();
}

VANTREL_STORED_TEXT_PROPERTY(OnlyExt)
QString CMxVantrel2Ctrl::getExceptionExt() const {
    return settings().exceptionExt;
}
VANTREL_STORED_PROPERTY(bool, FilePathDomainAuto)
VANTREL_STORED_TEXT_PROPERTY(ServerFileNameMidChar)
VANTREL_HIDDEN_TEXT_PROPERTY(HttpServerName)

short CMxVantrel2Ctrl::getHttpPORT() const {
    return 0;
}

// Script speaks of ports as signed 16-bit numbers; keep them unsigned inside so ports above
// 32767 stay what the page meant.
void CMxVantrel2Ctrl::setHttpPORT(short value) {
    store(settings().HttpPORT, static_cast<quint16>(value));
}

VANTREL_STORED_PROPERTY(bool, HttpSendingCancelBut)
VANTREL_STORED_PROPERTY(short, RemoteFileRunType)
VANTREL_STORED_PROPERTY(short, DownStyle)

QString CMxVantrel2Ctrl::getCharset() {
    settings().Charset = settings().Charset.toUpper();
    return settings().Charset;
}

void CMxVantrel2Ctrl::setCharset(const QString& value) {
    store(settings().Charset, value);
}

VANTREL_STORED_PROPERTY(short, ReceiveDown)
VANTREL_STORED_PROPERTY(bool, IsFolderViewAfterDown)
VANTREL_STORED_TEXT_PROPERTY(DownPathFix)
VANTREL_CONSTANT_TRUE_PROPERTY(HttpDownloadCancelBut)

short CMxVantrel2Ctrl::getLocalUIType() const {
    return settings().LocalUIType;
}

void CMxVantrel2Ctrl::setLocalUIType(short value) {
    store(settings().LocalUIType, value);
    paneHost_->applyLayoutMode();
}

QString CMxVantrel2Ctrl::getSpBarColor() const {
    return {};
}

void CMxVantrel2Ctrl::setSpBarColor(const QString&) {
    ignoreAssignment();
}

short CMxVantrel2Ctrl::getLocalListViewMode() const {
    return settings().LocalListViewMode;
}

void CMxVantrel2Ctrl::setLocalListViewMode(short value) {
    store(settings().LocalListViewMode, value);
    paneHost_->applyLocalListViewMode(value);
}

VANTREL_STORED_PROPERTY(bool, LocalTreeAutoSelect)

QString CMxVantrel2Ctrl::getServerFileListXML() const {
    return {};
}

void CMxVantrel2Ctrl::setServerFileListXML(const QString& value) {
    store(settings().ServerFileListXML, value);
    paneHost_->requestDocumentLoad();
}

QString CMxVantrel2Ctrl::getAllXML() const {
    return paneHost_->catalogue().AllXml(settings().Charset);
}

void CMxVantrel2Ctrl::setAllXML(const QString&) {
    ignoreAssignment();
}

VANTREL_CONSTANT_TRUE_PROPERTY(IeControlBarAllVisiable)

int CMxVantrel2Ctrl::getSelectedServerListPosition() const {
    return paneHost_->selectedServerListPosition();
}

void CMxVantrel2Ctrl::setSelectedServerListPosition(int) {
    ignoreAssignment();
}

int CMxVantrel2Ctrl::getSelectedLocalListPosition() const {
    return paneHost_->selectedLocalListPosition();
}

void CMxVantrel2Ctrl::setSelectedLocalListPosition(int) {
    ignoreAssignment();
}

int CMxVantrel2Ctrl::getSelectedListPosition() const {
    switch (paneHost_->focusPane()) {
    case 2:
        return getSelectedServerListPosition();
    case 4:
        return getSelectedLocalListPosition();
    default:
        return -1;
    }
}

void CMxVantrel2Ctrl::setSelectedListPosition(int) {
    ignoreAssignment();
}

short CMxVantrel2Ctrl::getServerListViewMode() const {
    return settings().ServerListViewMode;
}

void CMxVantrel2Ctrl::setServerListViewMode(short value) {
    store(settings().ServerListViewMode, value);
    paneHost_->applyServerListViewMode(value);
}

bool CMxVantrel2Ctrl::getUploadServerAutoDomain() const {
    return true;
}

VANTREL_HIDDEN_TEXT_PROPERTY(UploadPOSTFile)
VANTREL_STORED_PROPERTY(double, OneFileLimitsize)
VANTREL_STORED_PROPERTY(double, DiskFreeSize)
VANTREL_STORED_PROPERTY(short, ServerFileOverWrite)
VANTREL_HIDDEN_TEXT_PROPERTY(UIConfigXML)
VANTREL_CONSTANT_TRUE_PROPERTY(ServerTreeAutoSelect)
VANTREL_STORED_PROPERTY(double, ServerFileOpenLimitsize)

bool CMxVantrel2Ctrl::getListFullRowSelect() const {
    return true;
}

QString CMxVantrel2Ctrl::getInitDiskName() const {
    return {};
}

VANTREL_STORED_PROPERTY(bool, IsOutItemDrag)
VANTREL_STORED_PROPERTY(bool, IsDragUpload)
VANTREL_STORED_PROPERTY(bool, IsDragDownload)
VANTREL_STORED_PROPERTY(bool, IsServerToServerDrag)
VANTREL_STORED_PROPERTY(bool, IsServerTreeRename)
VANTREL_STORED_PROPERTY(bool, IsServerListRename)
VANTREL_STORED_PROPERTY(bool, IsLocalTreeRename)
VANTREL_STORED_PROPERTY(bool, IsLocalListRename)

QString CMxVantrel2Ctrl::getIeRoundRectRgn() const {
    return {};
}

void CMxVantrel2Ctrl::setIeRoundRectRgn(const QString&) {
    ignoreAssignment();
}

VANTREL_STORED_PROPERTY(bool, IsAttachFolder)
VANTREL_CONSTANT_TRUE_PROPERTY(UploadServerAutoPORT)
VANTREL_STORED_PROPERTY(bool, IsDragDownAfterEvent)
VANTREL_STORED_PROPERTY(bool, IsServerTreeDragOff)
VANTREL_STORED_PROPERTY(short, IsDownUrlEncode)
