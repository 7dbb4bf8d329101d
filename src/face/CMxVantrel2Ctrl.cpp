#include "face/CMxVantrel2Ctrl.h"

#include "panes/local/RealLocalNamespace.h"
#include "session/ControlSession.h"

#include <QEvent>
#include <QJSEngine>
#include <utility>

// Properties whose read answers the stored value and whose write stores it.
#define VANTREL_STORED_PROPERTY(Type, Name)                                                        \
    Type CMxVantrel2Ctrl::get##Name() const {                                                      \
        return settings().Name;                                                                    \
    }                                                                                              \
    void CMxVantrel2Ctrl::set##Name(Type value) {                                                  \
        store(settings().Name, value, &CMxVantrel2Ctrl::Name##Changed);                            \
    }

#define VANTREL_STORED_TEXT_PROPERTY(Name)                                                         \
    QString CMxVantrel2Ctrl::get##Name() const {                                                   \
        return settings().Name;                                                                    \
    }                                                                                              \
    void CMxVantrel2Ctrl::set##Name(const QString& value) {                                        \
        store(settings().Name, value, &CMxVantrel2Ctrl::Name##Changed);                            \
    }

// Properties that read empty: the value is kept for the control's own use only.
#define VANTREL_HIDDEN_TEXT_PROPERTY(Name)                                                         \
    QString CMxVantrel2Ctrl::get##Name() const {                                                   \
        return {};                                                                                 \
    }                                                                                              \
    void CMxVantrel2Ctrl::set##Name(const QString& value) {                                        \
        store(settings().Name, value, &CMxVantrel2Ctrl::Name##Changed);                            \
    }

// Properties that always read true and whose assignment changes nothing.
#define VANTREL_CONSTANT_TRUE_PROPERTY(Name)                                                       \
    bool CMxVantrel2Ctrl::get##Name() const {                                                      \
        return true;                                                                               \
    }                                                                                              \
    void CMxVantrel2Ctrl::set##Name(bool) {                                                        \
        ignoreAssignment(&CMxVantrel2Ctrl::Name##Changed);                                         \
    }

CMxVantrel2Ctrl::CMxVantrel2Ctrl(std::unique_ptr<LocalNamespace> names, QObject* parent)
    : QObject(parent),
      session_(std::make_unique<ControlSession>(
          *this, names ? std::move(names) : std::make_unique<RealLocalNamespace>())) {}

CMxVantrel2Ctrl::~CMxVantrel2Ctrl() = default;

ControlSettings& CMxVantrel2Ctrl::settings() {
    return session_->settings();
}

const ControlSettings& CMxVantrel2Ctrl::settings() const {
    return session_->settings();
}

void CMxVantrel2Ctrl::loadPropertySet(const PropertySet& set) {
    LoadPropertySet(set, settings(), session_->ieControlBarAllVisiable, session_->ieRoundRectRgn);
}

QList<QPair<QString, QString>> CMxVantrel2Ctrl::savePropertySet() const {
    return SavePropertySet(settings(), session_->ieControlBarAllVisiable, session_->ieRoundRectRgn);
}

bool CMxVantrel2Ctrl::event(QEvent* event) {
    if (event->type() == QEvent::DeferredDelete)
        return true;
    return QObject::event(event);
}

void CMxVantrel2Ctrl::notifyDerivedProperties() {
    const quint64 catalogue = session_->catalogue().revision();
    if (std::exchange(announcedCatalogue_, catalogue) != catalogue)
        emit AllXMLChanged();
    const int serverRow = getSelectedServerListPosition();
    if (std::exchange(announcedServerRow_, serverRow) != serverRow)
        emit SelectedServerListPositionChanged();
    const int localRow = getSelectedLocalListPosition();
    if (std::exchange(announcedLocalRow_, localRow) != localRow)
        emit SelectedLocalListPositionChanged();
    const int row = getSelectedListPosition();
    if (std::exchange(announcedRow_, row) != row)
        emit SelectedListPositionChanged();
}

void CMxVantrel2Ctrl::Run() {
    session_->start();
}

short CMxVantrel2Ctrl::getFileAttachViewMode() {
    if (QJSEngine* engine = qjsEngine(this))
        engine->throwError(QJSValue::TypeError,
                           QStringLiteral("Property \"FileAttachViewMode\" is write-only"));
    return 0;
}

void CMxVantrel2Ctrl::setFileAttachViewMode(short) {
    ignoreAssignment(&CMxVantrel2Ctrl::FileAttachViewModeChanged);
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
    store(settings().HttpPORT, static_cast<quint16>(value), &CMxVantrel2Ctrl::HttpPORTChanged);
}

VANTREL_STORED_PROPERTY(bool, HttpSendingCancelBut)
VANTREL_STORED_PROPERTY(short, RemoteFileRunType)
VANTREL_STORED_PROPERTY(short, DownStyle)

QString CMxVantrel2Ctrl::getCharset() const {
    return settings().Charset.toUpper();
}

void CMxVantrel2Ctrl::setCharset(const QString& value) {
    store(settings().Charset, value, &CMxVantrel2Ctrl::CharsetChanged);
}

VANTREL_STORED_PROPERTY(short, ReceiveDown)
VANTREL_STORED_PROPERTY(bool, IsFolderViewAfterDown)
VANTREL_STORED_TEXT_PROPERTY(DownPathFix)
VANTREL_CONSTANT_TRUE_PROPERTY(HttpDownloadCancelBut)

short CMxVantrel2Ctrl::getLocalUIType() const {
    return settings().LocalUIType;
}

void CMxVantrel2Ctrl::setLocalUIType(short value) {
    store(settings().LocalUIType, value, &CMxVantrel2Ctrl::LocalUITypeChanged);
    session_->changeLayout();
}

QString CMxVantrel2Ctrl::getSpBarColor() const {
    return {};
}

void CMxVantrel2Ctrl::setSpBarColor(const QString&) {
    ignoreAssignment(&CMxVantrel2Ctrl::SpBarColorChanged);
}

short CMxVantrel2Ctrl::getLocalListViewMode() const {
    return settings().LocalListViewMode;
}

void CMxVantrel2Ctrl::setLocalListViewMode(short value) {
    store(settings().LocalListViewMode, value, &CMxVantrel2Ctrl::LocalListViewModeChanged);
    session_->showLocalListView(value);
}

VANTREL_STORED_PROPERTY(bool, LocalTreeAutoSelect)

QString CMxVantrel2Ctrl::getServerFileListXML() const {
    return {};
}

void CMxVantrel2Ctrl::setServerFileListXML(const QString& value) {
    store(settings().ServerFileListXML, value, &CMxVantrel2Ctrl::ServerFileListXMLChanged);
    session_->requestDocumentLoad();
}

QString CMxVantrel2Ctrl::getAllXML() const {
    return session_->catalogue().AllXml(getCharset());
}

void CMxVantrel2Ctrl::setAllXML(const QString&) {
    ignoreAssignment(&CMxVantrel2Ctrl::AllXMLChanged);
}

VANTREL_CONSTANT_TRUE_PROPERTY(IeControlBarAllVisiable)

int CMxVantrel2Ctrl::getSelectedServerListPosition() const {
    return session_->serverPane().firstSelectedRow();
}

void CMxVantrel2Ctrl::setSelectedServerListPosition(int) {
    ignoreAssignment(&CMxVantrel2Ctrl::SelectedServerListPositionChanged);
}

int CMxVantrel2Ctrl::getSelectedLocalListPosition() const {
    return session_->localPane().firstSelectedRow();
}

void CMxVantrel2Ctrl::setSelectedLocalListPosition(int) {
    ignoreAssignment(&CMxVantrel2Ctrl::SelectedLocalListPositionChanged);
}

int CMxVantrel2Ctrl::getSelectedListPosition() const {
    switch (session_->focusPane()) {
    case ServerListPane:
        return getSelectedServerListPosition();
    case LocalListPane:
        return getSelectedLocalListPosition();
    default:
        return -1;
    }
}

void CMxVantrel2Ctrl::setSelectedListPosition(int) {
    ignoreAssignment(&CMxVantrel2Ctrl::SelectedListPositionChanged);
}

short CMxVantrel2Ctrl::getServerListViewMode() const {
    return settings().ServerListViewMode;
}

void CMxVantrel2Ctrl::setServerListViewMode(short value) {
    store(settings().ServerListViewMode, value, &CMxVantrel2Ctrl::ServerListViewModeChanged);
    session_->showServerListView(value);
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
    ignoreAssignment(&CMxVantrel2Ctrl::IeRoundRectRgnChanged);
}

VANTREL_STORED_PROPERTY(bool, IsAttachFolder)
VANTREL_CONSTANT_TRUE_PROPERTY(UploadServerAutoPORT)
VANTREL_STORED_PROPERTY(bool, IsDragDownAfterEvent)
VANTREL_STORED_PROPERTY(bool, IsServerTreeDragOff)
VANTREL_STORED_PROPERTY(short, IsDownUrlEncode)
VANTREL_STORED_PROPERTY(short, DownRetryCount)
VANTREL_STORED_PROPERTY(short, DownParallel)
VANTREL_STORED_PROPERTY(int, DownRateLimitKBps)
VANTREL_STORED_PROPERTY(int, UpRateLimitKBps)
