#include "IsolatedHome.h"
#include "face/CMxVantrel2Ctrl.h"
#include "session/ControlSession.h"
#include "session/ScriptedPrompter.h"

#include <QJSEngine>
#include <QMetaProperty>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

// A control exposed to a real script engine as `ctrl`, the way the host page sees it.
class ScriptProperties : public ::testing::Test {
protected:
    ScriptProperties() {
        QJSEngine::setObjectOwnership(&ctrl, QJSEngine::CppOwnership);
        engine.globalObject().setProperty("ctrl", engine.newQObject(&ctrl));
    }

    QJSValue eval(const QString& code) { return engine.evaluate(code); }

    CMxVantrel2Ctrl ctrl;
    QJSEngine engine;
};

} // namespace

TEST_F(ScriptProperties, HiddenValuesReadEmptyButAreStored) {
    eval("ctrl.HttpServerName = 'up.test'; ctrl.UploadPOSTFile = '/up.php';"
         "ctrl.UIConfigXML = '/ui.xml'; ctrl.HttpPORT = 8080;");
    EXPECT_EQ(
        eval("ctrl.HttpServerName + '|' + ctrl.UploadPOSTFile + '|' + ctrl.UIConfigXML").toString(),
        "||");
    EXPECT_EQ(eval("ctrl.HttpPORT").toInt(), 0);
    EXPECT_EQ(ctrl.settings().HttpServerName, "up.test");
    EXPECT_EQ(ctrl.settings().UploadPOSTFile, "/up.php");
    EXPECT_EQ(ctrl.settings().UIConfigXML, "/ui.xml");
    EXPECT_EQ(ctrl.settings().HttpPORT, 8080);
}

TEST_F(ScriptProperties, PortsAboveSignedRangeSurviveAssignment) {
    eval("ctrl.HttpPORT = 40000");
    EXPECT_EQ(ctrl.settings().HttpPORT, 40000);
}

TEST_F(ScriptProperties, StoredValuesReadBack) {
    eval("ctrl.OnlyExt = 'jpg'; ctrl.OneFileLimitsize = 2048.5; ctrl.IsDragUpload = false;"
         "ctrl.DownStyle = 3;");
    EXPECT_EQ(eval("ctrl.OnlyExt").toString(), "jpg");
    EXPECT_EQ(eval("ctrl.OneFileLimitsize").toNumber(), 2048.5);
    EXPECT_FALSE(eval("ctrl.IsDragUpload").toBool());
    EXPECT_EQ(eval("ctrl.DownStyle").toInt(), 3);
}

TEST_F(ScriptProperties, DefaultsAsThePageSeesThem) {
    EXPECT_EQ(eval("[ctrl.HttpPORT, ctrl.Charset, ctrl.OneFileLimitsize, ctrl.InitDiskName,"
                   " ctrl.SpBarColor, ctrl.ListFullRowSelect, ctrl.AllXML].join('|')")
                  .toString(),
              "0|EUC-KR|-1|||true|");
}

// The properties beyond the classic set: defaults that keep the classic transfers but resume a
// cut download twice, and assignments that reach the settings the transfers copy.
TEST_F(ScriptProperties, AdditionsReadTheirDefaultsAndStoreAssignments) {
    EXPECT_EQ(eval("[ctrl.DownRetryCount, ctrl.DownParallel, ctrl.DownRateLimitKBps,"
                   " ctrl.UpRateLimitKBps].join('|')")
                  .toString(),
              "2|1|0|0");
    ctrl.setModified(false);
    eval("ctrl.DownRetryCount = 0; ctrl.DownParallel = 4; ctrl.DownRateLimitKBps = 1000;"
         "ctrl.UpRateLimitKBps = 70000;");
    EXPECT_TRUE(ctrl.isModified());
    const ControlSettings& s = ctrl.settings();
    EXPECT_EQ(s.DownRetryCount, 0);
    EXPECT_EQ(s.DownParallel, 4);
    EXPECT_EQ(s.DownRateLimitKBps, 1000);
    EXPECT_EQ(s.UpRateLimitKBps, 70000);
}

TEST_F(ScriptProperties, CharsetReadsUpperCasedAndReadingStoresNothing) {
    eval("ctrl.Charset = 'utf-8'");
    ctrl.setModified(false);
    EXPECT_EQ(eval("ctrl.Charset").toString(), "UTF-8");
    EXPECT_EQ(eval("ctrl.Charset").toString(), "UTF-8");
    EXPECT_EQ(ctrl.settings().Charset, "utf-8");
    EXPECT_FALSE(ctrl.isModified());
}

TEST_F(ScriptProperties, IgnoredAssignmentsChangeNothingButMarkModified) {
    eval("ctrl.SpBarColor = '#000000'; ctrl.IeRoundRectRgn = '1,2,3,4,5,6';"
         "ctrl.ServerTreeAutoSelect = false; ctrl.UploadServerAutoPORT = false;"
         "ctrl.HttpDownloadCancelBut = false; ctrl.FileAttachViewMode = 3;");
    EXPECT_TRUE(ctrl.isModified());
    EXPECT_EQ(ctrl.settings().SpBarColor, "#A8A6A4");
    EXPECT_TRUE(ctrl.session().ieRoundRectRgn.isEmpty());
    EXPECT_TRUE(ctrl.settings().ServerTreeAutoSelect);
    EXPECT_TRUE(ctrl.settings().UploadServerAutoPORT);
    EXPECT_TRUE(ctrl.settings().HttpDownloadCancelBut);
    EXPECT_TRUE(eval("ctrl.HttpDownloadCancelBut").toBool());
}

TEST_F(ScriptProperties, RefusedAccessThrowsANamedErrorAndChangesNothing) {
    for (const QString name :
         {"exceptionExt", "UploadServerAutoDomain", "ListFullRowSelect", "InitDiskName"}) {
        const QJSValue result = eval(QStringLiteral("try { ctrl.%1 = 'x'; 'no error' }"
                                                    " catch (e) { String(e) }")
                                         .arg(name));
        EXPECT_TRUE(result.toString().contains(name)) << result.toString().toStdString();
    }
    EXPECT_TRUE(ctrl.settings().exceptionExt.isEmpty());
    EXPECT_EQ(ctrl.settings().InitDiskName, "Server");
    EXPECT_FALSE(ctrl.isModified());

    const QJSValue read =
        eval("try { ctrl.FileAttachViewMode; 'no error' } catch (e) { String(e) }");
    EXPECT_TRUE(read.toString().contains("FileAttachViewMode")) << read.toString().toStdString();
}

TEST_F(ScriptProperties, ViewModesOutsideOneToFourAreStoredWithoutChangingTheView) {
    eval("ctrl.ServerListViewMode = 2");
    EXPECT_EQ(ctrl.session().serverListView(), 2);
    eval("ctrl.ServerListViewMode = 5; ctrl.LocalListViewMode = 0;");
    EXPECT_EQ(eval("ctrl.ServerListViewMode").toInt(), 5);
    EXPECT_EQ(eval("ctrl.LocalListViewMode").toInt(), 0);
    EXPECT_EQ(ctrl.session().serverListView(), 2);
    EXPECT_EQ(ctrl.session().localListView(), 4);
}

TEST_F(ScriptProperties, SelectedListPositionFollowsTheFocusedPane) {
    for (qint16 pane : {0, 1, 2, 3, 4}) {
        ctrl.session().setFocusPane(pane);
        EXPECT_EQ(eval("ctrl.SelectedListPosition").toInt(), -1) << "focus " << pane;
    }
    EXPECT_EQ(eval("ctrl.SelectedServerListPosition").toInt(), -1);
}

// A mirror of the properties (the page bridge) hears each assignment and each value that
// follows the session, before any event that could read it.
TEST_F(ScriptProperties, ChangeSignalsFollowAssignmentsAndTheSession) {
    ScriptedPrompter prompter{[](const QString&) {
    }};
    ASSERT_EQ(ctrl.session().catalogue().Load(ctrl.settings(), prompter), 0);
    ctrl.session().serverPane().buildTree();
    ctrl.session().serverPane().selectFirstFolder();

    const QMetaObject& meta = CMxVantrel2Ctrl::staticMetaObject;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        if (!property.isWritable())
            continue;
        QSignalSpy spy(&ctrl, property.notifySignal());
        const QVariant value = property.name() == QByteArray("FileAttachViewMode")
                                   ? QVariant(short(1))
                                   : property.read(&ctrl);
        property.write(&ctrl, value);
        EXPECT_EQ(spy.count(), 1) << property.name();
    }

    QStringList order;
    QObject::connect(&ctrl, &CMxVantrel2Ctrl::AllXMLChanged, [&] { order.append("AllXML"); });
    QObject::connect(&ctrl, &CMxVantrel2Ctrl::OnXMLLoadCompleat,
                     [&] { order.append("OnXMLLoadCompleat"); });
    ctrl.notifyDerivedProperties();
    order.clear();
    ctrl.notifyDerivedProperties();
    EXPECT_TRUE(order.isEmpty()) << "nothing moved";
    ASSERT_EQ(ctrl.AddServerFile("/f/b.txt", "b.txt", 3, "", ""), 0);
    ctrl.xmlLoadCompleted(0);
    EXPECT_EQ(order, QStringList({"AllXML", "OnXMLLoadCompleat"}));
}

TEST(ControlInitialisation, TakesThePageValuesOnce) {
    CMxVantrel2Ctrl ctrl;
    ctrl.loadPropertySet({{"UploadPOSTFile", "/up.php"}});
    ctrl.session().setHostPage(HostPage::fromUrl(QUrl("http://example.test:8080/p"), "sid=7"));
    ctrl.Run();
    EXPECT_EQ(ctrl.settings().HttpServerName, "example.test");
    EXPECT_EQ(ctrl.settings().HttpPORT, 8080);
    EXPECT_EQ(ctrl.settings().hostBaseUrl, "http://example.test:8080");
    EXPECT_EQ(ctrl.settings().UploadPOSTFile, "/up.php");
    EXPECT_EQ(ctrl.settings().documentCookie, "sid=7");

    ctrl.settings().HttpServerName.clear();
    ctrl.Run();
    EXPECT_TRUE(ctrl.settings().HttpServerName.isEmpty()) << "initialisation ran twice";
}

TEST(DocumentLoad, ALoadRequestedFromAnEventHandlerRunsAfterTheCurrentOne) {
    IsolatedHome home;
    CMxVantrel2Ctrl ctrl;
    QStringList prompts;
    ScriptedPrompter prompter([&](const QString& line) { prompts.append(line); });
    ctrl.session().setPrompter(prompter);
    QList<short> codes;
    QObject::connect(&ctrl, &CMxVantrel2Ctrl::OnXMLLoadCompleat, [&](short code) {
        codes.append(code);
        if (codes.size() == 1) {
            ctrl.setServerFileListXML("/again.xml");
            EXPECT_EQ(codes.size(), 1) << "a nested load must wait for the running one";
        }
    });
    ctrl.setServerFileListXML("/first.xml");
    EXPECT_EQ(codes, QList<short>({0, 0}));
    EXPECT_EQ(prompts.size(), 2);
}
