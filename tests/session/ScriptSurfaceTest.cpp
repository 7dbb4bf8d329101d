#include "face/CMxVantrel2Ctrl.h"

#include <QCoreApplication>
#include <QJSEngine>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPointer>
#include <QSet>
#include <gtest/gtest.h>

// The scripting surface pages are written against: every name, in its fixed order, with its
// result type and number of parameters.
namespace {

struct MethodEntry {
    const char* name;
    const char* result;
    int parameters;
};

struct EventEntry {
    const char* name;
    int parameters;
};

const MethodEntry kMethods[] = {
    {"FileAttach", "void", 0},
    {"HttpSendAttach", "short", 1},
    {"GetHTTPErrCode", "short", 0},
    {"GetHTTPErrText", "QString", 0},
    {"GetHTTPMSErrTxt", "QString", 0},
    {"IsDownFileCheck", "bool", 0},
    {"AddLocalFile", "void", 1},
    {"Run", "void", 0},
    {"FolderAttach", "void", 0},
    {"ServerErrorPageView", "void", 0},
    {"GetCurrentUploadFileCnt", "int", 0},
    {"GetCurrentFocusCtrl", "short", 0},
    {"SelectAllListItem", "void", 0},
    {"GetServerDeleteFileCount", "int", 0},
    {"GetServerDeleteFile", "QString", 1},
    {"GetServerDeleteFilename", "QString", 1},
    {"GetServerDeleteFilePath", "QString", 1},
    {"GetServerDeleteFilesize", "double", 1},
    {"Upfolder", "void", 0},
    {"Newfolder", "void", 0},
    {"SetRenameModeList", "void", 1},
    {"GetRenameFolderCount", "int", 0},
    {"GetRenameFolderOldPath", "QString", 1},
    {"GetRenameFolderNewPath", "QString", 1},
    {"RemoveRenameList", "void", 0},
    {"RemoveDeleteList", "void", 0},
    {"GetRenameFileCount", "int", 0},
    {"GetRenameOldFile", "QString", 1},
    {"GetRenameNewFile", "QString", 1},
    {"SetServerReplacePathAllfile", "short", 2},
    {"SetRenameModeTree", "void", 0},
    {"DeleteSelectedItem", "void", 0},
    {"GetSelectedListCount", "int", 1},
    {"GetTreeSelectedName", "QString", 1},
    {"GetSelectedListIsFolder", "bool", 2},
    {"GetSelectedListItem", "QString", 3},
    {"SelectedItemOpen", "void", 0},
    {"RefreshItem", "void", 0},
    {"SelectedItemDown", "void", 0},
    {"SelectedItemAddServerList", "void", 0},
    {"GetDragDropFolderCount", "int", 0},
    {"GetDragFolderPath", "QString", 1},
    {"GetDropFolderPath", "QString", 1},
    {"RemoveDragList", "void", 0},
    {"GetDragDropFileCount", "int", 0},
    {"GetDragFile", "QString", 1},
    {"GetDropFile", "QString", 1},
    {"GetDropXmlPath", "QString", 1},
    {"SetServerReplacePathfile", "short", 2},
    {"GetRenameXmlPath", "QString", 1},
    {"GetRenamePathType", "QString", 1},
    {"AddPOSTForm", "void", 2},
    {"SendPOSTForm", "short", 3},
    {"AddPOSTFormXml", "void", 2},
    {"GetPostResponseData", "QString", 0},
    {"GetRenameName", "QString", 2},
    {"GetServerSelectedFolderPath", "QString", 0},
    {"GetServerPathFileSize", "double", 2},
    {"GetDiskCount", "int", 0},
    {"GetDiskName", "QString", 1},
    {"GetServerAllFilesize", "double", 1},
    {"GetOldOWFileCount", "int", 0},
    {"GetOldOWFile", "QString", 1},
    {"GetOldOWFilename", "QString", 1},
    {"GetOldOWFilesize", "double", 1},
    {"GetOldOWXmlPath", "QString", 1},
    {"GetOldOWFileDate", "QString", 1},
    {"RemoveOldOWList", "void", 0},
    {"SendPOSTFormXmlFile", "short", 4},
    {"SetLocalGoFolder", "short", 1},
    {"GetServerListFolderCount", "int", 2},
    {"GetServerListFolderItem", "QString", 4},
    {"GetServerListFileCount", "int", 2},
    {"GetServerListFileItem", "QString", 4},
    {"ServerFolderPosUp", "short", 0},
    {"ServerFolderPosDown", "short", 0},
    {"ServerNewfolderByName", "void", 1},
    {"SetServerGoFolder", "short", 2},
    {"AddServerFile", "short", 5},
    {"SetServerListDraw", "void", 1},
    {"GetCurrentUploadFileData", "QString", 2},
    {"GetServerDeleteFileXmlPath", "QString", 1},
    {"GetServerDeleteFileXmlQuery", "QString", 1},
    {"GetOldOWXmlQuery", "QString", 1},
    {"BeepOn", "void", 0},
    {"DragSelectedItemDown", "void", 0},
    {"GetServerCurDropPath", "QString", 0},
    {"ServerListPrgDeleteItem", "bool", 2},
    {"DeleteLocalFile", "bool", 1},
};

const EventEntry kEvents[] = {
    {"OnAddfileError", 3},
    {"OnLoadCompleat", 0},
    {"OnLocalAttachCompleat", 0},
    {"OnPopupMenu", 1},
    {"OnRenameCompleat", 1},
    {"OnOpenfileCompleat", 1},
    {"OnListItemDoubleClicked", 0},
    {"OnDownloadCompleat", 1},
    {"OnDragDropingErr", 2},
    {"OnDragDropCompleat", 0},
    {"OnXMLLoadCompleat", 1},
    {"OnNewFolderCompleat", 3},
    {"OnServerItemDeleteCompleat", 2},
    {"OnFunctionKeyPress", 1},
    {"OnNodeUpDownCompleat", 2},
    {"OnListItemClicked", 0},
    {"OnTreeSelChanged", 1},
    {"OnDargDownSelectTarget", 4},
};

const char* const kProperties[] = {
    "FileAttachViewMode",
    "OnlyExt",
    "exceptionExt",
    "FilePathDomainAuto",
    "ServerFileNameMidChar",
    "HttpServerName",
    "HttpPORT",
    "HttpSendingCancelBut",
    "RemoteFileRunType",
    "DownStyle",
    "Charset",
    "ReceiveDown",
    "IsFolderViewAfterDown",
    "DownPathFix",
    "HttpDownloadCancelBut",
    "LocalUIType",
    "SpBarColor",
    "LocalListViewMode",
    "LocalTreeAutoSelect",
    "ServerFileListXML",
    "AllXML",
    "IeControlBarAllVisiable",
    "SelectedServerListPosition",
    "SelectedLocalListPosition",
    "SelectedListPosition",
    "ServerListViewMode",
    "UploadServerAutoDomain",
    "UploadPOSTFile",
    "OneFileLimitsize",
    "DiskFreeSize",
    "ServerFileOverWrite",
    "UIConfigXML",
    "ServerTreeAutoSelect",
    "ServerFileOpenLimitsize",
    "ListFullRowSelect",
    "InitDiskName",
    "IsOutItemDrag",
    "IsDragUpload",
    "IsDragDownload",
    "IsServerToServerDrag",
    "IsServerTreeRename",
    "IsServerListRename",
    "IsLocalTreeRename",
    "IsLocalListRename",
    "IeRoundRectRgn",
    "IsAttachFolder",
    "UploadServerAutoPORT",
    "IsDragDownAfterEvent",
    "IsServerTreeDragOff",
    "IsDownUrlEncode",
};

// Properties this control adds beyond the classic 50, on purpose and after them, so a page
// written for the classic set sees its names where it expects them (README, "Beyond the
// classic control"): automatic resume of cut downloads, parallel rows and throughput caps.
const char* const kAddedProperties[] = {
    "DownRetryCount",
    "DownParallel",
    "DownRateLimitKBps",
    "UpRateLimitKBps",
};

// The declared member of `name` and `type`; fails the test when there is none or several.
QMetaMethod memberNamed(const char* name, QMetaMethod::MethodType type) {
    const QMetaObject& meta = CMxVantrel2Ctrl::staticMetaObject;
    QMetaMethod found;
    int matches = 0;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        if (method.methodType() == type && method.name() == name) {
            found = method;
            ++matches;
        }
    }
    EXPECT_EQ(matches, 1) << name;
    return found;
}

} // namespace

TEST(ScriptSurface, EveryMethodInOrderWithItsTypes) {
    EXPECT_EQ(std::size(kMethods), 89u);
    int previousIndex = -1;
    for (const MethodEntry& entry : kMethods) {
        const QMetaMethod method = memberNamed(entry.name, QMetaMethod::Method);
        EXPECT_STREQ(method.typeName(), entry.result) << entry.name;
        EXPECT_EQ(method.parameterCount(), entry.parameters) << entry.name;
        EXPECT_GT(method.methodIndex(), previousIndex) << entry.name << " is out of order";
        previousIndex = method.methodIndex();
    }
}

TEST(ScriptSurface, EveryEventInOrderWithItsParameters) {
    EXPECT_EQ(std::size(kEvents), 18u);
    int previousIndex = -1;
    for (const EventEntry& entry : kEvents) {
        const QMetaMethod signal = memberNamed(entry.name, QMetaMethod::Signal);
        EXPECT_EQ(signal.parameterCount(), entry.parameters) << entry.name;
        EXPECT_GT(signal.methodIndex(), previousIndex) << entry.name << " is out of order";
        previousIndex = signal.methodIndex();
    }
}

TEST(ScriptSurface, EveryPropertyInOrder) {
    const QMetaObject& meta = CMxVantrel2Ctrl::staticMetaObject;
    EXPECT_EQ(std::size(kProperties), 50u);
    const int added = static_cast<int>(std::size(kAddedProperties));
    ASSERT_EQ(meta.propertyCount() - meta.propertyOffset(), 50 + added);
    for (int i = 0; i < 50; ++i)
        EXPECT_STREQ(meta.property(meta.propertyOffset() + i).name(), kProperties[i]);
    for (int i = 0; i < added; ++i)
        EXPECT_STREQ(meta.property(meta.propertyOffset() + 50 + i).name(), kAddedProperties[i]);
}

TEST(ScriptSurface, PageScriptReachesEveryNameAndConnectsToEvents) {
    CMxVantrel2Ctrl ctrl;
    QJSEngine engine;
    QJSEngine::setObjectOwnership(&ctrl, QJSEngine::CppOwnership);
    engine.globalObject().setProperty("ctrl", engine.newQObject(&ctrl));
    for (const MethodEntry& entry : kMethods)
        EXPECT_EQ(engine.evaluate(QStringLiteral("typeof ctrl.%1").arg(entry.name)).toString(),
                  "function")
            << entry.name;
    for (const EventEntry& entry : kEvents)
        EXPECT_EQ(
            engine.evaluate(QStringLiteral("typeof ctrl.%1.connect").arg(entry.name)).toString(),
            "function")
            << entry.name;

    engine.evaluate("var got = []; ctrl.OnAddfileError.connect(function (c, n, p) {"
                    " got.push(c, n, p); });");
    ctrl.addfileError(-1003, "/home/u/a b.exe");
    EXPECT_EQ(engine.evaluate("got.join('|')").toString(), "-1003|a b.exe|/home/u/a b.exe");
}

TEST(ScriptSurface, IndexReadersAnswerEmptyResultsOutOfRange) {
    CMxVantrel2Ctrl ctrl;
    QJSEngine engine;
    QJSEngine::setObjectOwnership(&ctrl, QJSEngine::CppOwnership);
    engine.globalObject().setProperty("ctrl", engine.newQObject(&ctrl));
    const QJSValue result = engine.evaluate(
        "[ctrl.GetServerDeleteFile(-1), ctrl.GetServerDeleteFilesize(5), ctrl.GetDiskName(0),"
        " ctrl.GetServerDeleteFileCount(), ctrl.GetSelectedListCount('auto'),"
        " ctrl.GetSelectedListItem('nonsense', 'name', 0), ctrl.IsDownFileCheck()].join('|')");
    EXPECT_EQ(result.toString(), "|0||0|0||true");
}

// A page reaches the face's own names and, of its base, only what every QObject has; no
// widget member, so a page can neither close, hide nor restyle the control.
TEST(ScriptSurface, TheFaceCarriesTheScriptingNamesAndNothingElse) {
    const QMetaObject& meta = CMxVantrel2Ctrl::staticMetaObject;
    EXPECT_EQ(meta.superClass(), &QObject::staticMetaObject);
    // Each property's change signal is its own NOTIFY, "<Name>Changed" without parameters:
    // mirrors of the properties read the value again on it; it is not one of the events.
    QSet<int> notifySignals;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        ASSERT_TRUE(property.hasNotifySignal()) << property.name();
        EXPECT_EQ(property.notifySignal().name(), QByteArray(property.name()) + "Changed");
        EXPECT_EQ(property.notifySignal().parameterCount(), 0) << property.name();
        notifySignals.insert(property.notifySignalIndex());
    }
    EXPECT_EQ(notifySignals.size(), 50 + std::size(kAddedProperties));
    QSet<QByteArray> names, expected;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        if (!notifySignals.contains(i))
            names.insert(meta.method(i).name());
    }
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        names.insert(meta.property(i).name());
    for (const MethodEntry& entry : kMethods)
        expected.insert(entry.name);
    for (const EventEntry& entry : kEvents)
        expected.insert(entry.name);
    for (const char* property : kProperties)
        expected.insert(property);
    for (const char* property : kAddedProperties)
        expected.insert(property);
    EXPECT_EQ(names, expected);

    CMxVantrel2Ctrl ctrl;
    QJSEngine engine;
    QJSEngine::setObjectOwnership(&ctrl, QJSEngine::CppOwnership);
    engine.globalObject().setProperty("ctrl", engine.newQObject(&ctrl));
    for (const char* member : {"close", "hide", "show", "setStyleSheet", "styleSheet",
                               "windowTitle", "setWindowTitle", "resize", "grab", "setParent"})
        EXPECT_EQ(engine.evaluate(QStringLiteral("typeof ctrl.%1").arg(member)).toString(),
                  "undefined")
            << member;
}

// Only the host that made the face ends it: a page's deleteLater() leaves it in place.
TEST(ScriptSurface, APageCannotDeleteTheFace) {
    CMxVantrel2Ctrl ctrl;
    QPointer<CMxVantrel2Ctrl> alive(&ctrl);
    QJSEngine engine;
    QJSEngine::setObjectOwnership(&ctrl, QJSEngine::CppOwnership);
    engine.globalObject().setProperty("ctrl", engine.newQObject(&ctrl));
    engine.evaluate("ctrl.deleteLater()");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_FALSE(alive.isNull());
    EXPECT_EQ(engine.evaluate("ctrl.GetDiskCount()").toInt(), 0);
}
