#pragma once

#include "control/ControlSettings.h"
#include "control/HostPage.h"

#include <QWidget>

class PaneHostWindow;

// The control a page embeds. Its properties carry the scripting names letter for letter;
// page script reaches them through the host's script engine as `ctrl.Name`.
//
// Read rules: most properties read their stored value; some always read "", 0 or true; the
// write-only `FileAttachViewMode` throws a script error. Write rules: most store the value;
// some accept the assignment and change nothing; read-only ones (no WRITE) make the script
// engine throw a TypeError naming the property. Every accepted assignment marks the control
// modified, so the container saves the property set again.
class CMxVantrel2Ctrl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(short FileAttachViewMode READ getFileAttachViewMode WRITE setFileAttachViewMode)
    Q_PROPERTY(QString OnlyExt READ getOnlyExt WRITE setOnlyExt)
    Q_PROPERTY(QString exceptionExt READ getExceptionExt)
    Q_PROPERTY(bool FilePathDomainAuto READ getFilePathDomainAuto WRITE setFilePathDomainAuto)
    Q_PROPERTY(
        QString ServerFileNameMidChar READ getServerFileNameMidChar WRITE setServerFileNameMidChar)
    Q_PROPERTY(QString HttpServerName READ getHttpServerName WRITE setHttpServerName)
    Q_PROPERTY(short HttpPORT READ getHttpPORT WRITE setHttpPORT)
    Q_PROPERTY(bool HttpSendingCancelBut READ getHttpSendingCancelBut WRITE setHttpSendingCancelBut)
    Q_PROPERTY(short RemoteFileRunType READ getRemoteFileRunType WRITE setRemoteFileRunType)
    Q_PROPERTY(short DownStyle READ getDownStyle WRITE setDownStyle)
    Q_PROPERTY(QString Charset READ getCharset WRITE setCharset)
    Q_PROPERTY(short ReceiveDown READ getReceiveDown WRITE setReceiveDown)
    Q_PROPERTY(
        bool IsFolderViewAfterDown READ getIsFolderViewAfterDown WRITE setIsFolderViewAfterDown)
    Q_PROPERTY(QString DownPathFix READ getDownPathFix WRITE setDownPathFix)
    Q_PROPERTY(
        bool HttpDownloadCancelBut READ getHttpDownloadCancelBut WRITE setHttpDownloadCancelBut)
    Q_PROPERTY(short LocalUIType READ getLocalUIType WRITE setLocalUIType)
    Q_PROPERTY(QString SpBarColor READ getSpBarColor WRITE setSpBarColor)
    Q_PROPERTY(short LocalListViewMode READ getLocalListViewMode WRITE setLocalListViewMode)
    Q_PROPERTY(bool LocalTreeAutoSelect READ getLocalTreeAutoSelect WRITE setLocalTreeAutoSelect)
    Q_PROPERTY(QString ServerFileListXML READ getServerFileListXML WRITE setServerFileListXML)
    Q_PROPERTY(QString AllXML READ getAllXML WRITE setAllXML)
    Q_PROPERTY(bool IeControlBarAllVisiable READ getIeControlBarAllVisiable WRITE
                   setIeControlBarAllVisiable)
    Q_PROPERTY(int SelectedServerListPosition READ getSelectedServerListPosition WRITE
                   setSelectedServerListPosition)
    Q_PROPERTY(int SelectedLocalListPosition READ getSelectedLocalListPosition WRITE
                   setSelectedLocalListPosition)
    Q_PROPERTY(int SelectedListPosition READ getSelectedListPosition WRITE setSelectedListPosition)
    Q_PROPERTY(short ServerListViewMode READ getServerListViewMode WRITE setServerListViewMode)
    Q_PROPERTY(bool UploadServerAutoDomain READ getUploadServerAutoDomain)
    Q_PROPERTY(QString UploadPOSTFile READ getUploadPOSTFile WRITE setUploadPOSTFile)
    Q_PROPERTY(double OneFileLimitsize READ getOneFileLimitsize WRITE setOneFileLimitsize)
    Q_PROPERTY(double DiskFreeSize READ getDiskFreeSize WRITE setDiskFreeSize)
    Q_PROPERTY(short ServerFileOverWrite READ getServerFileOverWrite WRITE setServerFileOverWrite)
    Q_PROPERTY(QString UIConfigXML READ getUIConfigXML WRITE setUIConfigXML)
    Q_PROPERTY(bool ServerTreeAutoSelect READ getServerTreeAutoSelect WRITE setServerTreeAutoSelect)
    Q_PROPERTY(double ServerFileOpenLimitsize READ getServerFileOpenLimitsize WRITE
                   setServerFileOpenLimitsize)
    Q_PROPERTY(bool ListFullRowSelect READ getListFullRowSelect)
    Q_PROPERTY(QString InitDiskName READ getInitDiskName)
    Q_PROPERTY(bool IsOutItemDrag READ getIsOutItemDrag WRITE setIsOutItemDrag)
    Q_PROPERTY(bool IsDragUpload READ getIsDragUpload WRITE setIsDragUpload)
    Q_PROPERTY(bool IsDragDownload READ getIsDragDownload WRITE setIsDragDownload)
    Q_PROPERTY(bool IsServerToServerDrag READ getIsServerToServerDrag WRITE setIsServerToServerDrag)
    Q_PROPERTY(bool IsServerTreeRename READ getIsServerTreeRename WRITE setIsServerTreeRename)
    Q_PROPERTY(bool IsServerListRename READ getIsServerListRename WRITE setIsServerListRename)
    Q_PROPERTY(bool IsLocalTreeRename READ getIsLocalTreeRename WRITE setIsLocalTreeRename)
    Q_PROPERTY(bool IsLocalListRename READ getIsLocalListRename WRITE setIsLocalListRename)
    Q_PROPERTY(QString IeRoundRectRgn READ getIeRoundRectRgn WRITE setIeRoundRectRgn)
    Q_PROPERTY(bool IsAttachFolder READ getIsAttachFolder WRITE setIsAttachFolder)
    Q_PROPERTY(bool UploadServerAutoPORT READ getUploadServerAutoPORT WRITE setUploadServerAutoPORT)
    Q_PROPERTY(bool IsDragDownAfterEvent READ getIsDragDownAfterEvent WRITE setIsDragDownAfterEvent)
    Q_PROPERTY(bool IsServerTreeDragOff READ getIsServerTreeDragOff WRITE setIsServerTreeDragOff)
    Q_PROPERTY(short IsDownUrlEncode READ getIsDownUrlEncode WRITE setIsDownUrlEncode)

public:
    explicit CMxVantrel2Ctrl(QWidget* parent = nullptr);
    ~CMxVantrel2Ctrl() override;

    // Exchanges the persisted set (the page's parameter values) into the settings; names the
    // set does not carry keep their defaults.
    void loadPropertySet(const PropertySet& set);
    QList<QPair<QString, QString>> savePropertySet() const;
    // The page that embeds the control; read once, by the initialisation.
    void setHostPage(const HostPage& page) { hostPage_ = page; }

    ControlSettings& settings();
    const ControlSettings& settings() const;
    PaneHostWindow& paneHost() const { return *paneHost_; }
    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }
    bool ieControlBarAllVisiable() const { return ieControlBarAllVisiable_; }
    const QString& ieRoundRectRgn() const { return ieRoundRectRgn_; }

    // The one-time initialisation; later calls do nothing. Runs when the window is first shown.
    Q_INVOKABLE void Run();

    short getFileAttachViewMode();
    void setFileAttachViewMode(short);
    QString getOnlyExt() const;
    void setOnlyExt(const QString& value);
    QString getExceptionExt() const;
    bool getFilePathDomainAuto() const;
    void setFilePathDomainAuto(bool value);
    QString getServerFileNameMidChar() const;
    void setServerFileNameMidChar(const QString& value);
    QString getHttpServerName() const;
    void setHttpServerName(const QString& value);
    short getHttpPORT() const;
    void setHttpPORT(short value);
    bool getHttpSendingCancelBut() const;
    void setHttpSendingCancelBut(bool value);
    short getRemoteFileRunType() const;
    void setRemoteFileRunType(short value);
    short getDownStyle() const;
    void setDownStyle(short value);
    QString getCharset();
    void setCharset(const QString& value);
    short getReceiveDown() const;
    void setReceiveDown(short value);
    bool getIsFolderViewAfterDown() const;
    void setIsFolderViewAfterDown(bool value);
    QString getDownPathFix() const;
    void setDownPathFix(const QString& value);
    bool getHttpDownloadCancelBut() const;
    void setHttpDownloadCancelBut(bool);
    short getLocalUIType() const;
    void setLocalUIType(short value);
    QString getSpBarColor() const;
    void setSpBarColor(const QString&);
    short getLocalListViewMode() const;
    void setLocalListViewMode(short value);
    bool getLocalTreeAutoSelect() const;
    void setLocalTreeAutoSelect(bool value);
    QString getServerFileListXML() const;
    void setServerFileListXML(const QString& value);
    QString getAllXML() const;
    void setAllXML(const QString&);
    bool getIeControlBarAllVisiable() const;
    void setIeControlBarAllVisiable(bool);
    int getSelectedServerListPosition() const;
    void setSelectedServerListPosition(int);
    int getSelectedLocalListPosition() const;
    void setSelectedLocalListPosition(int);
    int getSelectedListPosition() const;
    void setSelectedListPosition(int);
    short getServerListViewMode() const;
    void setServerListViewMode(short value);
    bool getUploadServerAutoDomain() const;
    QString getUploadPOSTFile() const;
    void setUploadPOSTFile(const QString& value);
    double getOneFileLimitsize() const;
    void setOneFileLimitsize(double value);
    double getDiskFreeSize() const;
    void setDiskFreeSize(double value);
    short getServerFileOverWrite() const;
    void setServerFileOverWrite(short value);
    QString getUIConfigXML() const;
    void setUIConfigXML(const QString& value);
    bool getServerTreeAutoSelect() const;
    void setServerTreeAutoSelect(bool);
    double getServerFileOpenLimitsize() const;
    void setServerFileOpenLimitsize(double value);
    bool getListFullRowSelect() const;
    QString getInitDiskName() const;
    bool getIsOutItemDrag() const;
    void setIsOutItemDrag(bool value);
    bool getIsDragUpload() const;
    void setIsDragUpload(bool value);
    bool getIsDragDownload() const;
    void setIsDragDownload(bool value);
    bool getIsServerToServerDrag() const;
    void setIsServerToServerDrag(bool value);
    bool getIsServerTreeRename() const;
    void setIsServerTreeRename(bool value);
    bool getIsServerListRename() const;
    void setIsServerListRename(bool value);
    bool getIsLocalTreeRename() const;
    void setIsLocalTreeRename(bool value);
    bool getIsLocalListRename() const;
    void setIsLocalListRename(bool value);
    QString getIeRoundRectRgn() const;
    void setIeRoundRectRgn(const QString&);
    bool getIsAttachFolder() const;
    void setIsAttachFolder(bool value);
    bool getUploadServerAutoPORT() const;
    void setUploadServerAutoPORT(bool);
    bool getIsDragDownAfterEvent() const;
    void setIsDragDownAfterEvent(bool value);
    bool getIsServerTreeDragOff() const;
    void setIsServerTreeDragOff(bool value);
    short getIsDownUrlEncode() const;
    void setIsDownUrlEncode(short value);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    template <typename T, typename V> void store(T& field, const V& value) {
        field = value;
        modified_ = true;
    }
    void ignoreAssignment() { modified_ = true; }

    PaneHostWindow* paneHost_;
    HostPage hostPage_;
    bool initialisePending_ = true;
    bool modified_ = false;
    bool ieControlBarAllVisiable_ = false;
    QString ieRoundRectRgn_;
};
