#pragma once

#include "common/ControlEvents.h"
#include "panes/local/LocalNamespace.h"
#include "settings/ControlSettings.h"

#include <QObject>
#include <memory>

class ControlSession;

// The control's scripting face: exactly the properties, methods and events a page sees, each
// under its scripting name, forwarding to the session. It carries no widget, so a page can
// neither close nor restyle the control; the host exposes it as `ctrl`.
//
// Read rules: most properties read their stored value; some always read "", 0 or true; the
// write-only `FileAttachViewMode` throws a script error. Write rules: most store the value;
// some accept the assignment and change nothing; read-only ones (no WRITE) make the script
// engine throw a TypeError naming the property. Every accepted assignment marks the control
// modified, so the container saves the property set again.
class CMxVantrel2Ctrl : public QObject, public ControlEvents {
    Q_OBJECT
    Q_PROPERTY(short FileAttachViewMode READ getFileAttachViewMode WRITE setFileAttachViewMode
                   NOTIFY FileAttachViewModeChanged)
    Q_PROPERTY(QString OnlyExt READ getOnlyExt WRITE setOnlyExt NOTIFY OnlyExtChanged)
    Q_PROPERTY(QString exceptionExt READ getExceptionExt NOTIFY exceptionExtChanged)
    Q_PROPERTY(bool FilePathDomainAuto READ getFilePathDomainAuto WRITE setFilePathDomainAuto NOTIFY
                   FilePathDomainAutoChanged)
    Q_PROPERTY(QString ServerFileNameMidChar READ getServerFileNameMidChar WRITE
                   setServerFileNameMidChar NOTIFY ServerFileNameMidCharChanged)
    Q_PROPERTY(QString HttpServerName READ getHttpServerName WRITE setHttpServerName NOTIFY
                   HttpServerNameChanged)
    Q_PROPERTY(short HttpPORT READ getHttpPORT WRITE setHttpPORT NOTIFY HttpPORTChanged)
    Q_PROPERTY(bool HttpSendingCancelBut READ getHttpSendingCancelBut WRITE setHttpSendingCancelBut
                   NOTIFY HttpSendingCancelButChanged)
    Q_PROPERTY(short RemoteFileRunType READ getRemoteFileRunType WRITE setRemoteFileRunType NOTIFY
                   RemoteFileRunTypeChanged)
    Q_PROPERTY(short DownStyle READ getDownStyle WRITE setDownStyle NOTIFY DownStyleChanged)
    Q_PROPERTY(QString Charset READ getCharset WRITE setCharset NOTIFY CharsetChanged)
    Q_PROPERTY(short ReceiveDown READ getReceiveDown WRITE setReceiveDown NOTIFY ReceiveDownChanged)
    Q_PROPERTY(bool IsFolderViewAfterDown READ getIsFolderViewAfterDown WRITE
                   setIsFolderViewAfterDown NOTIFY IsFolderViewAfterDownChanged)
    Q_PROPERTY(
        QString DownPathFix READ getDownPathFix WRITE setDownPathFix NOTIFY DownPathFixChanged)
    Q_PROPERTY(bool HttpDownloadCancelBut READ getHttpDownloadCancelBut WRITE
                   setHttpDownloadCancelBut NOTIFY HttpDownloadCancelButChanged)
    Q_PROPERTY(short LocalUIType READ getLocalUIType WRITE setLocalUIType NOTIFY LocalUITypeChanged)
    Q_PROPERTY(QString SpBarColor READ getSpBarColor WRITE setSpBarColor NOTIFY SpBarColorChanged)
    Q_PROPERTY(short LocalListViewMode READ getLocalListViewMode WRITE setLocalListViewMode NOTIFY
                   LocalListViewModeChanged)
    Q_PROPERTY(bool LocalTreeAutoSelect READ getLocalTreeAutoSelect WRITE setLocalTreeAutoSelect
                   NOTIFY LocalTreeAutoSelectChanged)
    Q_PROPERTY(QString ServerFileListXML READ getServerFileListXML WRITE setServerFileListXML NOTIFY
                   ServerFileListXMLChanged)
    Q_PROPERTY(QString AllXML READ getAllXML WRITE setAllXML NOTIFY AllXMLChanged)
    Q_PROPERTY(bool IeControlBarAllVisiable READ getIeControlBarAllVisiable WRITE
                   setIeControlBarAllVisiable NOTIFY IeControlBarAllVisiableChanged)
    Q_PROPERTY(int SelectedServerListPosition READ getSelectedServerListPosition WRITE
                   setSelectedServerListPosition NOTIFY SelectedServerListPositionChanged)
    Q_PROPERTY(int SelectedLocalListPosition READ getSelectedLocalListPosition WRITE
                   setSelectedLocalListPosition NOTIFY SelectedLocalListPositionChanged)
    Q_PROPERTY(int SelectedListPosition READ getSelectedListPosition WRITE setSelectedListPosition
                   NOTIFY SelectedListPositionChanged)
    Q_PROPERTY(short ServerListViewMode READ getServerListViewMode WRITE setServerListViewMode
                   NOTIFY ServerListViewModeChanged)
    Q_PROPERTY(bool UploadServerAutoDomain READ getUploadServerAutoDomain NOTIFY
                   UploadServerAutoDomainChanged)
    Q_PROPERTY(QString UploadPOSTFile READ getUploadPOSTFile WRITE setUploadPOSTFile NOTIFY
                   UploadPOSTFileChanged)
    Q_PROPERTY(double OneFileLimitsize READ getOneFileLimitsize WRITE setOneFileLimitsize NOTIFY
                   OneFileLimitsizeChanged)
    Q_PROPERTY(
        double DiskFreeSize READ getDiskFreeSize WRITE setDiskFreeSize NOTIFY DiskFreeSizeChanged)
    Q_PROPERTY(short ServerFileOverWrite READ getServerFileOverWrite WRITE setServerFileOverWrite
                   NOTIFY ServerFileOverWriteChanged)
    Q_PROPERTY(
        QString UIConfigXML READ getUIConfigXML WRITE setUIConfigXML NOTIFY UIConfigXMLChanged)
    Q_PROPERTY(bool ServerTreeAutoSelect READ getServerTreeAutoSelect WRITE setServerTreeAutoSelect
                   NOTIFY ServerTreeAutoSelectChanged)
    Q_PROPERTY(double ServerFileOpenLimitsize READ getServerFileOpenLimitsize WRITE
                   setServerFileOpenLimitsize NOTIFY ServerFileOpenLimitsizeChanged)
    Q_PROPERTY(bool ListFullRowSelect READ getListFullRowSelect NOTIFY ListFullRowSelectChanged)
    Q_PROPERTY(QString InitDiskName READ getInitDiskName NOTIFY InitDiskNameChanged)
    Q_PROPERTY(
        bool IsOutItemDrag READ getIsOutItemDrag WRITE setIsOutItemDrag NOTIFY IsOutItemDragChanged)
    Q_PROPERTY(
        bool IsDragUpload READ getIsDragUpload WRITE setIsDragUpload NOTIFY IsDragUploadChanged)
    Q_PROPERTY(bool IsDragDownload READ getIsDragDownload WRITE setIsDragDownload NOTIFY
                   IsDragDownloadChanged)
    Q_PROPERTY(bool IsServerToServerDrag READ getIsServerToServerDrag WRITE setIsServerToServerDrag
                   NOTIFY IsServerToServerDragChanged)
    Q_PROPERTY(bool IsServerTreeRename READ getIsServerTreeRename WRITE setIsServerTreeRename NOTIFY
                   IsServerTreeRenameChanged)
    Q_PROPERTY(bool IsServerListRename READ getIsServerListRename WRITE setIsServerListRename NOTIFY
                   IsServerListRenameChanged)
    Q_PROPERTY(bool IsLocalTreeRename READ getIsLocalTreeRename WRITE setIsLocalTreeRename NOTIFY
                   IsLocalTreeRenameChanged)
    Q_PROPERTY(bool IsLocalListRename READ getIsLocalListRename WRITE setIsLocalListRename NOTIFY
                   IsLocalListRenameChanged)
    Q_PROPERTY(QString IeRoundRectRgn READ getIeRoundRectRgn WRITE setIeRoundRectRgn NOTIFY
                   IeRoundRectRgnChanged)
    Q_PROPERTY(bool IsAttachFolder READ getIsAttachFolder WRITE setIsAttachFolder NOTIFY
                   IsAttachFolderChanged)
    Q_PROPERTY(bool UploadServerAutoPORT READ getUploadServerAutoPORT WRITE setUploadServerAutoPORT
                   NOTIFY UploadServerAutoPORTChanged)
    Q_PROPERTY(bool IsDragDownAfterEvent READ getIsDragDownAfterEvent WRITE setIsDragDownAfterEvent
                   NOTIFY IsDragDownAfterEventChanged)
    Q_PROPERTY(bool IsServerTreeDragOff READ getIsServerTreeDragOff WRITE setIsServerTreeDragOff
                   NOTIFY IsServerTreeDragOffChanged)
    Q_PROPERTY(short IsDownUrlEncode READ getIsDownUrlEncode WRITE setIsDownUrlEncode NOTIFY
                   IsDownUrlEncodeChanged)
    // Additions beyond the classic 50 (README): automatic resume, parallel and capped transfers.
    Q_PROPERTY(short DownRetryCount READ getDownRetryCount WRITE setDownRetryCount NOTIFY
                   DownRetryCountChanged)
    Q_PROPERTY(
        short DownParallel READ getDownParallel WRITE setDownParallel NOTIFY DownParallelChanged)
    Q_PROPERTY(int DownRateLimitKBps READ getDownRateLimitKBps WRITE setDownRateLimitKBps NOTIFY
                   DownRateLimitKBpsChanged)
    Q_PROPERTY(int UpRateLimitKBps READ getUpRateLimitKBps WRITE setUpRateLimitKBps NOTIFY
                   UpRateLimitKBpsChanged)

public:
    // The local pane shows `names` (null: this machine's real folders).
    explicit CMxVantrel2Ctrl(std::unique_ptr<LocalNamespace> names = nullptr,
                             QObject* parent = nullptr);
    ~CMxVantrel2Ctrl() override;

    ControlSession& session() const { return *session_; }

    // Exchanges the persisted set (the page's parameter values) into the settings; names the
    // set does not carry keep their defaults.
    void loadPropertySet(const PropertySet& set);
    QList<QPair<QString, QString>> savePropertySet() const;

    ControlSettings& settings();
    const ControlSettings& settings() const;
    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // Fires the change signals of the properties that follow the session rather than an
    // assignment (AllXML and the three selected positions) when their value moved since the
    // last call. Cheap; runs before every event, and a host that mirrors the properties calls
    // it after each page call.
    void notifyDerivedProperties();

    // Script methods, in their fixed order. Index arguments count from 0; an index outside
    // a list answers the empty result ("", 0, 0.0, false), never an error. `selectData` is
    // "server", "local" or "auto" (the side of the focused pane); any other text answers the
    // empty result.
    Q_INVOKABLE void FileAttach();
    Q_INVOKABLE short HttpSendAttach(const QString& POSTFile);
    Q_INVOKABLE short GetHTTPErrCode();
    Q_INVOKABLE QString GetHTTPErrText();
    Q_INVOKABLE QString GetHTTPMSErrTxt();
    Q_INVOKABLE bool IsDownFileCheck();
    Q_INVOKABLE void AddLocalFile(const QString& localFile);
    // The one-time initialisation; later calls do nothing. Runs when the window is first shown.
    Q_INVOKABLE void Run();
    Q_INVOKABLE void FolderAttach();
    Q_INVOKABLE void ServerErrorPageView();
    Q_INVOKABLE int GetCurrentUploadFileCnt();
    Q_INVOKABLE short GetCurrentFocusCtrl();
    Q_INVOKABLE void SelectAllListItem();
    Q_INVOKABLE int GetServerDeleteFileCount();
    Q_INVOKABLE QString GetServerDeleteFile(int index);
    Q_INVOKABLE QString GetServerDeleteFilename(int index);
    Q_INVOKABLE QString GetServerDeleteFilePath(int index);
    Q_INVOKABLE double GetServerDeleteFilesize(int index);
    Q_INVOKABLE void Upfolder();
    Q_INVOKABLE void Newfolder();
    Q_INVOKABLE void SetRenameModeList(int index);
    Q_INVOKABLE int GetRenameFolderCount();
    Q_INVOKABLE QString GetRenameFolderOldPath(int index);
    Q_INVOKABLE QString GetRenameFolderNewPath(int index);
    Q_INVOKABLE void RemoveRenameList();
    Q_INVOKABLE void RemoveDeleteList();
    Q_INVOKABLE int GetRenameFileCount();
    Q_INVOKABLE QString GetRenameOldFile(int index);
    Q_INVOKABLE QString GetRenameNewFile(int index);
    Q_INVOKABLE short SetServerReplacePathAllfile(const QString& oldPath, const QString& newPath);
    Q_INVOKABLE void SetRenameModeTree();
    Q_INVOKABLE void DeleteSelectedItem();
    Q_INVOKABLE int GetSelectedListCount(const QString& selectData);
    Q_INVOKABLE QString GetTreeSelectedName(const QString& selectData);
    Q_INVOKABLE bool GetSelectedListIsFolder(const QString& selectData, int index);
    Q_INVOKABLE QString GetSelectedListItem(const QString& selectData, const QString& getdatatype,
                                            int index);
    Q_INVOKABLE void SelectedItemOpen();
    Q_INVOKABLE void RefreshItem();
    Q_INVOKABLE void SelectedItemDown();
    Q_INVOKABLE void SelectedItemAddServerList();
    Q_INVOKABLE int GetDragDropFolderCount();
    Q_INVOKABLE QString GetDragFolderPath(int index);
    Q_INVOKABLE QString GetDropFolderPath(int index);
    Q_INVOKABLE void RemoveDragList();
    Q_INVOKABLE int GetDragDropFileCount();
    Q_INVOKABLE QString GetDragFile(int index);
    Q_INVOKABLE QString GetDropFile(int index);
    Q_INVOKABLE QString GetDropXmlPath(int index);
    Q_INVOKABLE short SetServerReplacePathfile(const QString& DropXmlPath,
                                               const QString& NewFilePath);
    Q_INVOKABLE QString GetRenameXmlPath(int index);
    Q_INVOKABLE QString GetRenamePathType(int index);
    Q_INVOKABLE void AddPOSTForm(const QString& Formname, const QString& PostData);
    Q_INVOKABLE short SendPOSTForm(const QString& SeverName, short HttpPORT,
                                   const QString& PostUrl);
    Q_INVOKABLE void AddPOSTFormXml(const QString& Formname, const QString& PostData);
    Q_INVOKABLE QString GetPostResponseData();
    Q_INVOKABLE QString GetRenameName(const QString& gubun, int index);
    Q_INVOKABLE QString GetServerSelectedFolderPath();
    Q_INVOKABLE double GetServerPathFileSize(const QString& size_gubun, const QString& ServerPath);
    Q_INVOKABLE int GetDiskCount();
    Q_INVOKABLE QString GetDiskName(int index);
    Q_INVOKABLE double GetServerAllFilesize(const QString& size_gubun);
    Q_INVOKABLE int GetOldOWFileCount();
    Q_INVOKABLE QString GetOldOWFile(int index);
    Q_INVOKABLE QString GetOldOWFilename(int index);
    Q_INVOKABLE double GetOldOWFilesize(int index);
    Q_INVOKABLE QString GetOldOWXmlPath(int index);
    Q_INVOKABLE QString GetOldOWFileDate(int index);
    Q_INVOKABLE void RemoveOldOWList();
    Q_INVOKABLE short SendPOSTFormXmlFile(const QString& SeverName, short HttpPORT,
                                          const QString& PostUrl, const QString& XmlFilename);
    Q_INVOKABLE short SetLocalGoFolder(const QString& szPath);
    Q_INVOKABLE int GetServerListFolderCount(const QString& ServerPath, bool IsChild);
    Q_INVOKABLE QString GetServerListFolderItem(const QString& ServerPath, bool IsChild,
                                                const QString& DataName, int index);
    Q_INVOKABLE int GetServerListFileCount(const QString& ServerPath, bool IsChild);
    Q_INVOKABLE QString GetServerListFileItem(const QString& ServerPath, bool IsChild,
                                              const QString& DataName, int index);
    Q_INVOKABLE short ServerFolderPosUp();
    Q_INVOKABLE short ServerFolderPosDown();
    Q_INVOKABLE void ServerNewfolderByName(const QString& szFolName);
    Q_INVOKABLE short SetServerGoFolder(const QString& szPath, short nCh);
    Q_INVOKABLE short AddServerFile(const QString& szfPath, const QString& szfName, double lfSize,
                                    const QString& szfTypename, const QString& szfModDate);
    Q_INVOKABLE void SetServerListDraw(bool bDraw);
    Q_INVOKABLE QString GetCurrentUploadFileData(const QString& selectData, int index);
    Q_INVOKABLE QString GetServerDeleteFileXmlPath(int index);
    Q_INVOKABLE QString GetServerDeleteFileXmlQuery(int index);
    Q_INVOKABLE QString GetOldOWXmlQuery(int index);
    Q_INVOKABLE void BeepOn();
    Q_INVOKABLE void DragSelectedItemDown();
    Q_INVOKABLE QString GetServerCurDropPath();
    Q_INVOKABLE bool ServerListPrgDeleteItem(const QString& path, const QString& filename);
    Q_INVOKABLE bool DeleteLocalFile(const QString& path);

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
    QString getCharset() const;
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
    short getDownRetryCount() const;
    void setDownRetryCount(short value);
    short getDownParallel() const;
    void setDownParallel(short value);
    int getDownRateLimitKBps() const;
    void setDownRateLimitKBps(int value);
    int getUpRateLimitKBps() const;
    void setUpRateLimitKBps(int value);

    // ControlEvents: each fires the page event of the same meaning, synchronously.
    void addfileError(short code, const QString& fullPath) override;
    void loadCompleted() override;
    void localAttachCompleted() override;
    void popupMenu(short menuId) override;
    void renameCompleted(short code) override;
    void openfileCompleted(short code) override;
    void listItemDoubleClicked() override;
    void downloadCompleted(short code) override;
    void dragDropError(short code, const QString& name) override;
    void dragDropCompleted() override;
    void xmlLoadCompleted(short code) override;
    void newFolderCompleted(short code, int insertIndex, const QString& path) override;
    void serverItemDeleteCompleted(short code, double deletedBytes) override;
    void functionKeyPressed(const QString& keyName) override;
    void nodeUpDownCompleted(short code, short upDown) override;
    void listItemClicked() override;
    void treeSelectionChanged(const QString& path) override;
    void dragDownSelectTarget(short dragId, const QString& dragPath, const QString& dragXPath,
                              const QString& dropPath) override;

signals:
    // The page's events, in their fixed order.
    void OnAddfileError(short errcode, const QString& filename, const QString& fullpath);
    void OnLoadCompleat();
    void OnLocalAttachCompleat();
    void OnPopupMenu(short menuID);
    void OnRenameCompleat(short errcode);
    void OnOpenfileCompleat(short errcode);
    void OnListItemDoubleClicked();
    void OnDownloadCompleat(short errocode);
    void OnDragDropingErr(short errcode, const QString& name);
    void OnDragDropCompleat();
    void OnXMLLoadCompleat(short errcode);
    void OnNewFolderCompleat(short errcode, int insindex, const QString& path);
    void OnServerItemDeleteCompleat(short errcode, double delsize);
    void OnFunctionKeyPress(const QString& keyname);
    void OnNodeUpDownCompleat(short errcode, short upDown);
    void OnListItemClicked();
    void OnTreeSelChanged(const QString& path);
    void OnDargDownSelectTarget(short dragid, const QString& dragpath, const QString& dragxpath,
                                const QString& droppath);

    // Each property's change signal (its NOTIFY), named after it: whoever mirrors the
    // properties outside this process, like the page bridge, reads that value again. They are
    // not events of the page. An assignment fires its own; notifyDerivedProperties() fires
    // those whose value follows the session.
    void FileAttachViewModeChanged();
    void OnlyExtChanged();
    void exceptionExtChanged();
    void FilePathDomainAutoChanged();
    void ServerFileNameMidCharChanged();
    void HttpServerNameChanged();
    void HttpPORTChanged();
    void HttpSendingCancelButChanged();
    void RemoteFileRunTypeChanged();
    void DownStyleChanged();
    void CharsetChanged();
    void ReceiveDownChanged();
    void IsFolderViewAfterDownChanged();
    void DownPathFixChanged();
    void HttpDownloadCancelButChanged();
    void LocalUITypeChanged();
    void SpBarColorChanged();
    void LocalListViewModeChanged();
    void LocalTreeAutoSelectChanged();
    void ServerFileListXMLChanged();
    void AllXMLChanged();
    void IeControlBarAllVisiableChanged();
    void SelectedServerListPositionChanged();
    void SelectedLocalListPositionChanged();
    void SelectedListPositionChanged();
    void ServerListViewModeChanged();
    void UploadServerAutoDomainChanged();
    void UploadPOSTFileChanged();
    void OneFileLimitsizeChanged();
    void DiskFreeSizeChanged();
    void ServerFileOverWriteChanged();
    void UIConfigXMLChanged();
    void ServerTreeAutoSelectChanged();
    void ServerFileOpenLimitsizeChanged();
    void ListFullRowSelectChanged();
    void InitDiskNameChanged();
    void IsOutItemDragChanged();
    void IsDragUploadChanged();
    void IsDragDownloadChanged();
    void IsServerToServerDragChanged();
    void IsServerTreeRenameChanged();
    void IsServerListRenameChanged();
    void IsLocalTreeRenameChanged();
    void IsLocalListRenameChanged();
    void IeRoundRectRgnChanged();
    void IsAttachFolderChanged();
    void UploadServerAutoPORTChanged();
    void IsDragDownAfterEventChanged();
    void IsServerTreeDragOffChanged();
    void IsDownUrlEncodeChanged();
    void DownRetryCountChanged();
    void DownParallelChanged();
    void DownRateLimitKBpsChanged();
    void UpRateLimitKBpsChanged();

protected:
    // Refuses deferred deletion: its owner ends the face, never a page's deleteLater().
    bool event(QEvent* event) override;

private:
    using ChangeSignal = void (CMxVantrel2Ctrl::*)();
    // Every accepted assignment fires the property's change signal, an ignored one too: a
    // mirror that took the assigned value must read back what the control answers.
    template <typename T, typename V> void store(T& field, const V& value, ChangeSignal changed) {
        field = value;
        modified_ = true;
        emit(this->*changed)();
    }
    void ignoreAssignment(ChangeSignal changed) {
        modified_ = true;
        emit(this->*changed)();
    }

    std::unique_ptr<ControlSession> session_;
    bool modified_ = false;
    // What notifyDerivedProperties() last announced.
    quint64 announcedCatalogue_ = 0;
    int announcedServerRow_ = -1, announcedLocalRow_ = -1, announcedRow_ = -1;
};
