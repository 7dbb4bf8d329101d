#pragma once

#include <QMap>
#include <QString>
#include <QtGlobal>

// Every setting the page can give, the values taken from the host page and the last HTTP
// error. Owned by the session; every part of the control reads its settings here. Workers
// never read it: a job copies the values it needs before its thread starts.
struct ControlSettings {
    QString HttpServerName;
    quint16 HttpPORT = 80; // unsigned: ports above 32767 stay positive
    QString UploadPOSTFile;
    QString UIConfigXML;
    QString ServerFileListXML;
    QString Charset = "euc-kr";
    bool FilePathDomainAuto = true;
    bool UploadServerAutoDomain = true;
    bool UploadServerAutoPORT = true;
    QString hostBaseUrl; // "http://domain[:port]" of the host page
    QString ServerFileNameMidChar;
    qint16 LocalUIType = 0;
    QString SpBarColor = "#A8A6A4";
    QString documentCookie; // the host page's cookie text
    QString InitDiskName = "Server";
    bool IsOutItemDrag = true;
    bool IsDragUpload = true;
    bool IsDragDownload = true;
    bool IsServerToServerDrag = true;
    bool IsServerTreeDragOff = false;
    bool IsServerTreeRename = true;
    bool IsServerListRename = true;
    bool IsLocalTreeRename = true;
    bool IsLocalListRename = true;
    bool IsAttachFolder = true;
    bool IsDragDownAfterEvent = false;
    qint16 IsDownUrlEncode = 1;
    qint16 ServerListViewMode = 4;
    qint16 LocalListViewMode = 4;
    QString OnlyExt;
    QString exceptionExt;
    QString openFilePath, openFileSize, openFileName; // the server file being opened
    qint16 RemoteFileRunType = 1;
    bool OverWriteMessage = false;
    qint16 ReceiveDown = 1;
    qint16 DownStyle = 1;
    bool IsFolderViewAfterDown = false;
    QString DownPathFix;
    bool LocalTreeAutoSelect = true;
    bool ServerTreeAutoSelect = true;
    double OneFileLimitsize = -1.0; // -1.0: no limit
    double DiskFreeSize = -1.0;
    qint16 ServerFileOverWrite = 0;
    double ServerFileOpenLimitsize = -1.0;
    bool ListFullRowSelect = true;
    QString httpErrorText;
    qint16 httpErrorCode = 0;
    qint32 httpSystemError = 0;
    // Every HTTP result replaces all three at once, so no part outlives the run it came from.
    void setHttpError(qint16 code, qint32 systemError, const QString& text) {
        httpErrorCode = code;
        httpSystemError = systemError;
        httpErrorText = text;
    }
    bool HttpSendingCancelBut = true;
    bool HttpDownloadCancelBut = true;

    // Beyond the classic control (the page may leave them unset): how often a download row cut
    // by the network is resumed within the run (consecutive tries without a new byte; 0: never,
    // as the classic control), how many download rows run at once (1 to 4) and the caps on
    // download and upload throughput in KB/s (0: none).
    qint16 DownRetryCount = 2;
    qint16 DownParallel = 1;
    qint32 DownRateLimitKBps = 0;
    qint32 UpRateLimitKBps = 0;

    // From the UI configuration document at each load.
    QString newFolderName;     // NEWFOLDERNAME
    QString dateFormat;        // DATEFORMAT, strftime notation
    QString folderBrowseTitle; // COMMSELFOLDERWIN
};

// The persisted property set: the page's parameter values, name to text.
using PropertySet = QMap<QString, QString>;

// Version of the persisted set, exchanged before the properties.
inline constexpr int kPropertySetVersionMajor = 1;
inline constexpr int kPropertySetVersionMinor = 0;

// Loads the persisted properties of `set` into `settings` and `IeControlBarAllVisiable` /
// `IeRoundRectRgn` (kept by the control object), in the fixed exchange order. A name the set
// does not carry, or a text that does not parse as the property's type, leaves the field as it is.
void LoadPropertySet(const PropertySet& set, ControlSettings& settings,
                     bool& ieControlBarAllVisiable, QString& ieRoundRectRgn);

// Saves the persisted properties in the fixed exchange order (with "_Version" first).
// Returns the names in the order they were written, for containers that keep order.
QList<QPair<QString, QString>> SavePropertySet(const ControlSettings& settings,
                                               bool ieControlBarAllVisiable,
                                               const QString& ieRoundRectRgn);

// Takes the host page's domain, port and cookie into the settings, once, at initialisation.
// `port` is the page location's port text (empty when the location has none).
void TakeHostPageValues(ControlSettings& settings, const QString& domain, const QString& port,
                        const QString& cookie);
