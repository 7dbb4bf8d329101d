#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "TestServer.h"
#include "control/ControlWindow.h"
#include "control/PaneHostWindow.h"
#include "face/CMxVantrel2Ctrl.h"
#include "panes/list/FileListView.h"
#include "session/ControlSession.h"
#include "session/ScriptedPrompter.h"
#include "transfer/DownloadJob.h"

#include <QAbstractItemView>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QColor kRemoteText(0x10, 0x60, 0x20);
const QColor kRemoteBar(0x20, 0xA0, 0x40);
const QColor kLocalText(0xC0, 0x10, 0x10);
const QColor kLocalBar(0xF0, 0x80, 0x80);

const char* const kUiConfig = R"(<?xml version="1.0" encoding="UTF-8"?>
<VANTRELUI><UICOLOR>
  <ServerListRemotetxtClr VALUE="#106020"/>
  <ServerListRemoteSelbarClr VALUE="#20A040"/>
  <ServerListLocaltxtClr VALUE="#C01010"/>
  <ServerListLocalSelbarClr VALUE="#F08080"/>
</UICOLOR></VANTRELUI>)";

const char* const kCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<MORVEXXML><FOLDER type="disk" name="disk">
  <FILE path="/files/hello.txt" name="hello.txt" transtype="server" size="6"/>
</FOLDER></MORVEXXML>)";

// The whole control against the loopback test server, its documents loaded at start-up and
// its server list driven with the mouse. Files it would open with their program are listed.
class ControlServerPane : public ::testing::Test {
protected:
    void SetUp() override {
        write(site.filePath("ui.xml"), kUiConfig);
        write(site.filePath("catalogue.xml"), kCatalogue);
        server = std::make_unique<TestServer>(
            QStringList{"--root", site.path(), "--upload-dir", uploads.path()});
        ASSERT_TRUE(server->isRunning());
        ctrl.session().setPrompter(prompter);
        ctrl.session().setFileOpener([this](const QString& path) {
            opened.append(path);
            return true;
        });
        QObject::connect(&ctrl, &CMxVantrel2Ctrl::OnOpenfileCompleat,
                         [this](short code) { openCodes.append(code); });
        ctrl.loadPropertySet({{"UIConfigXML", "/ui.xml"},
                              {"ServerFileListXML", "/catalogue.xml"},
                              {"LocalUIType", "2"}});
        ctrl.session().setHostPage(HostPage::fromUrl(QUrl(server->urlText("/page.html")), {}));
        window.resize(800, 600);
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return ctrl.session().isLoadCompleted(); }, 10000));
    }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    PaneHostWindow& host() { return window.paneHost(); }
    QAbstractItemView* listView() {
        return qobject_cast<FileListView*>(host().pane(PaneLayout::ServerList))->currentView();
    }

    // The server list's row labelled `name` as the shown view has it; invalid when absent.
    QModelIndex row(const QString& name) {
        const QAbstractItemModel* model = listView()->model();
        for (int at = 0; at < model->rowCount(); ++at) {
            if (model->index(at, 0).data().toString() == name)
                return model->index(at, 0);
        }
        return {};
    }

    void click(const QString& name) {
        const QModelIndex index = row(name);
        ASSERT_TRUE(index.isValid()) << name.toStdString();
        QTest::mouseClick(listView()->viewport(), Qt::LeftButton, {},
                          listView()->visualRect(index).center());
    }

    IsolatedHome home;
    QTemporaryDir site, uploads, local;
    std::unique_ptr<TestServer> server;
    ScriptedPrompter prompter{[](const QString&) {
    }};
    CMxVantrel2Ctrl ctrl;
    ControlWindow window{ctrl.session()};
    QStringList opened;
    QList<short> openCodes;
};

TEST_F(ControlServerPane, UploadedRowsShowTheServerColoursAsSoonAsTheUploadReturns) {
    const QString path = local.filePath("a.txt");
    write(path, "queued\n");
    ctrl.AddLocalFile(path);
    ASSERT_TRUE(row("a.txt").isValid());
    EXPECT_EQ(row("a.txt").data(Qt::ForegroundRole).value<QColor>(), kLocalText);
    EXPECT_EQ(row("a.txt").data(kSelectionBarColorRole).value<QColor>(), kLocalBar);

    ASSERT_EQ(ctrl.HttpSendAttach("/upload.php"), 0);
    EXPECT_EQ(ctrl.GetServerListFileItem("disk", false, "transtype", 1), "server");
    ASSERT_TRUE(row("a.txt").isValid());
    EXPECT_EQ(row("a.txt").data(Qt::ForegroundRole).value<QColor>(), kRemoteText);
    EXPECT_EQ(row("a.txt").data(kSelectionBarColorRole).value<QColor>(), kRemoteBar);
    EXPECT_EQ(row("hello.txt").data(Qt::ForegroundRole).value<QColor>(), kRemoteText);
}

TEST_F(ControlServerPane, AQueuedFileOpensHereOnlyWhileItIsThere) {
    const QString path = local.filePath("mine.txt");
    write(path, "mine\n");
    ctrl.AddLocalFile(path);
    click("mine.txt");
    ctrl.SelectedItemOpen();
    ASSERT_TRUE(QFile::remove(path));
    click("mine.txt");
    ctrl.SelectedItemOpen();
    EXPECT_EQ(opened, QStringList{path});
    EXPECT_EQ(openCodes, (QList<short>{0, kOpenFailed}));
}

} // namespace

// Esc ends a drag where it is: the release afterwards drops nothing and the rows stay put.
TEST_F(ControlServerPane, EscEndsADragWithoutADrop) {
    ctrl.ServerNewfolderByName("target");
    int moves = 0;
    QObject::connect(&ctrl, &CMxVantrel2Ctrl::OnDragDropCompleat, [&moves] { ++moves; });
    click("hello.txt");
    QWidget* viewport = listView()->viewport();
    const QPoint from = listView()->visualRect(row("hello.txt")).center();
    auto* tree = qobject_cast<QAbstractItemView*>(host().pane(PaneLayout::ServerTree));
    ASSERT_NE(tree, nullptr);
    const QModelIndex target = tree->model()->index(0, 0, tree->model()->index(0, 0));
    const QPoint over =
        viewport->mapFromGlobal(tree->viewport()->mapToGlobal(tree->visualRect(target).center()));
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, from + QPoint(20, 0));
    QTest::mouseMove(viewport, over);
    ASSERT_TRUE(ctrl.session().isDragging());
    QTest::keyClick(viewport, Qt::Key_Escape);
    EXPECT_FALSE(ctrl.session().isDragging());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, over);
    EXPECT_EQ(moves, 0);
    EXPECT_TRUE(row("hello.txt").isValid());
    EXPECT_EQ(ctrl.GetDragDropFileCount(), 0);
}
