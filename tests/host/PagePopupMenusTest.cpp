#include "PageSite.h"
#include "QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// Menus for all four views: Korean and plain texts, separators, items typed "server", and
// items whose choice reports nothing (eventcode 0, "abc", negative, beyond a short; a command
// outside 20000-21000; a number reused later in the document).
const char* const kConfig = R"(<?xml version="1.0" encoding="UTF-8"?>
<UICONFIG>
  <LISTCOLUMNTITLE>
    <SERVERLIST><C name="이름" align="left" width="120"/><C name="크기" width="80"/></SERVERLIST>
    <LOCALLIST><C name="이름" align="left" width="120"/><C name="크기" width="80"/></LOCALLIST>
  </LISTCOLUMNTITLE>
  <POPUPMENU>
    <SERVERTREE>
      <ITEM id="20001" name="새 폴더" eventcode="101"/>
      <ITEM id="-"/>
      <ITEM id="20002" name="폴더 받기" eventcode="102"/>
    </SERVERTREE>
    <SERVERLIST>
      <NOSELECT><ITEM id="20010" name="파일 올리기" eventcode="110"/></NOSELECT>
      <ONESELECT>
        <ITEM id="20011" name="열기" eventcode="111"/>
        <ITEM id="20012" name="받기" type="server" eventcode="112"/>
      </ONESELECT>
      <MORESELECT>
        <ITEM id="20013" name="모두 삭제" eventcode="113"/>
        <ITEM id="20014" name="모두 받기" type="server" eventcode="114"/>
      </MORESELECT>
      <COMMON>
        <ITEM id="-"/>
        <ITEM id="20015" name="새로 고침" eventcode="115"/>
        <ITEM id="20016" name="Zero" eventcode="0"/>
        <ITEM id="20017" name="Letters" eventcode="abc"/>
        <ITEM id="20018" name="Negative" eventcode="-5"/>
        <ITEM id="20019" name="Too big" eventcode="40000"/>
        <ITEM id="19999" name="Outside" eventcode="119"/>
        <ITEM id="20001" name="Reused" eventcode="120"/>
      </COMMON>
    </SERVERLIST>
    <LOCALTREE><ITEM id="20030" name="로컬 새 폴더" eventcode="130"/></LOCALTREE>
    <LOCALLIST>
      <NOSELECT><ITEM id="20040" name="Nothing" eventcode="140"/></NOSELECT>
      <ONESELECT><ITEM id="20041" name="One" type="server" eventcode="141"/></ONESELECT>
      <MORESELECT><ITEM id="20042" name="Several" eventcode="142"/></MORESELECT>
      <COMMON><ITEM id="20043" name="올리기 목록에 추가" eventcode="143"/></COMMON>
    </LOCALLIST>
  </POPUPMENU>
</UICONFIG>)";

const char* const kCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<MORVEXXML>
  <FOLDER type="disk" name="disk">
    <FOLDER name="a"><FOLDER name="b"/></FOLDER>
    <FILE path="/f/x.txt" name="x.txt" transtype="server" size="10"/>
    <FILE path="/f/y.txt" name="y.txt" transtype="server" size="20"/>
    <FILE path="/home/u/z.txt" name="z.txt" transtype="local" size="30"/>
  </FOLDER>
</MORVEXXML>)";

// `fired` holds the codes
// OnPopupMenu brought since the last `take`.
const char* const kPageHelpers = R"(
    var fired = [];
    ctrl.OnPopupMenu.connect(function (code) { fired.push(code); });
    function take() { var codes = fired; fired = []; return codes; }
)";

class PagePopupMenus : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(site.isServing());
        ASSERT_TRUE(site.write("ui.xml", kConfig));
        ASSERT_TRUE(site.write("catalogue.xml", kCatalogue));
        for (const char* folder : {"p", "q"})
            ASSERT_TRUE(QDir(local.path()).mkpath(folder));
        QFile file(local.filePath("m.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    // Runs `script` once the documents loaded, with both panes shown and the local pane in
    // the temporary folder; expects it to print "ok".
    void expectOk(const QString& script) {
        const PageSite::Run page =
            site.run(QString(kPageExpectations) + kPageHelpers +
                         QString(R"(
                var localFolder = "%1";
                ctrl.OnLoadCompleat.connect(function () {
                    ctrl.SetLocalGoFolder(localFolder);
                    %2
                    finish();
                });)")
                             .arg(local.path(), script),
                     {"UIConfigXML=/ui.xml", "ServerFileListXML=/catalogue.xml", "LocalUIType=2"});
        EXPECT_EQ(page.exitCode, 0) << page.errors.toStdString();
        EXPECT_EQ(page.output, "ok\n") << page.errors.toStdString();
    }

    PageSite site;
    QTemporaryDir local;
};

} // namespace

TEST_F(PagePopupMenus, ServerListMenusFollowTheSelectionAndItsKind) {
    expectOk(R"(
        var common = ["-", "새로 고침", "Zero", "Letters", "Negative", "Too big", "Outside",
                      "Reused"];
        host.ui.rightClick("serverList", "");
        expect("nothing selected", host.ui.menu("serverList"), ["파일 올리기"].concat(common));
        host.ui.rightClick("serverList", "x.txt");
        expect("a server file", host.ui.menu("serverList"), ["열기", "받기"].concat(common));
        expect("right click selects", ctrl.GetSelectedListItem("server", "name", 0), "x.txt");
        host.ui.rightClick("serverList", "a");
        expect("a folder", host.ui.menu("serverList"), ["열기", "받기"].concat(common));
        host.ui.rightClick("serverList", "z.txt");
        expect("a queued file", host.ui.menu("serverList"), ["열기"].concat(common));
        host.ui.selectRows("serverList", ["x.txt", "y.txt"]);
        host.ui.rightClick("serverList", "y.txt");
        expect("two server files", host.ui.menu("serverList"),
               ["모두 삭제", "모두 받기"].concat(common));
        expect("the selection stays", ctrl.GetSelectedListCount("server"), 2);
        host.ui.selectRows("serverList", ["x.txt", "z.txt"]);
        host.ui.rightClick("serverList", "z.txt");
        expect("with a queued file", host.ui.menu("serverList"), ["모두 삭제"].concat(common));
        ctrl.SetServerGoFolder("disk/a", 1);
        host.ui.rightClick("serverList", "..");
        expect("the parent row is no entry", host.ui.menu("serverList")[0], "파일 올리기");
    )");
}

TEST_F(PagePopupMenus, ChoosingReportsPositiveCodesOfReportedCommandsOnly) {
    expectOk(R"(
        host.ui.rightClick("serverList", "x.txt");
        expect("chosen", host.ui.chooseMenu("받기"), true);
        expect("download code", take(), [112]);
        expect("the list has the focus", ctrl.GetCurrentFocusCtrl(), 2);
        expect("the menu closed", host.ui.chooseMenu("열기"), false);
        var silent = ["Zero", "Letters", "Negative", "Too big", "Outside"];
        for (var i = 0; i < silent.length; ++i) {
            host.ui.rightClick("serverList", "x.txt");
            expect(silent[i] + " chosen", host.ui.chooseMenu(silent[i]), true);
            expect(silent[i] + " fires nothing", take(), []);
        }
        host.ui.rightClick("serverList", "x.txt");
        host.ui.chooseMenu("Reused");
        expect("the first item of that number decides", take(), [101]);
        host.ui.rightClick("serverList", "x.txt");
        expect("no such item", host.ui.chooseMenu("받기 "), false);
        host.ui.click("serverList", "y.txt");
        expect("a click elsewhere closes without choosing", take(), []);
        expect("nothing open", host.ui.chooseMenu("열기"), false);
        // The keyboard works the open menu as well.
        host.ui.rightClick("serverList", "x.txt");
        host.ui.key("Down");
        host.ui.key("Return");
        expect("first item by keys", take(), [111]);
    )");
}

TEST_F(PagePopupMenus, TreesSelectTheNodeUnderTheCursorAndLocalListCountsRows) {
    expectOk(R"(
        host.ui.rightClick("serverTree", "disk/a");
        expect("server tree node selected", ctrl.GetTreeSelectedName("server"), "a");
        expect("server tree menu", host.ui.menu("serverTree"), ["새 폴더", "-", "폴더 받기"]);
        host.ui.chooseMenu("폴더 받기");
        expect("server tree code", take(), [102]);
        expect("server tree focus", ctrl.GetCurrentFocusCtrl(), 1);

        var root = host.ui.rows("localTree")[0];
        host.ui.rightClick("localTree", root);
        expect("the desktop has no menu", host.ui.menu("localTree"), []);
        expect("no menu to choose from", host.ui.chooseMenu("로컬 새 폴더"), false);
        var other = host.ui.rows("localTree")[1];
        host.ui.rightClick("localTree", other);
        expect("local tree node selected", ctrl.GetTreeSelectedName("local"),
               other.split("/").pop());
        expect("local tree menu", host.ui.menu("localTree"), ["로컬 새 폴더"]);
        host.ui.chooseMenu("로컬 새 폴더");
        expect("local tree code", take(), [130]);
        expect("local tree focus", ctrl.GetCurrentFocusCtrl(), 3);

        ctrl.SetLocalGoFolder(localFolder);
        expect("before a right click, the menu it would show", host.ui.menu("localList"),
               ["Nothing", "올리기 목록에 추가"]);
        host.ui.rightClick("localList", "m.txt");
        expect("one local row", host.ui.menu("localList"), ["One", "올리기 목록에 추가"]);
        host.ui.selectRows("localList", ["p", "m.txt"]);
        host.ui.rightClick("localList", "p");
        expect("two local rows", host.ui.menu("localList"), ["Several", "올리기 목록에 추가"]);
        host.ui.chooseMenu("올리기 목록에 추가");
        expect("local list code", take(), [143]);
        expect("local list focus", ctrl.GetCurrentFocusCtrl(), 4);
        host.ui.rightClick("localList", "");
        expect("empty space deselects", host.ui.menu("localList"),
               ["Nothing", "올리기 목록에 추가"]);
    )");
}

// The open menu is drawn over the control in a screenshot (looked at by eye once; here the
// same selection without the menu must look different).
TEST_F(PagePopupMenus, AScreenshotShowsTheOpenMenu) {
    const QString plain = local.filePath("plain.png");
    const QString withMenu = local.filePath("menu.png");
    expectOk(QString(R"(
        host.ui.click("serverList", "x.txt");
        host.ui.screenshot("%1");
        host.ui.rightClick("serverList", "x.txt");
        host.ui.screenshot("%2");
    )")
                 .arg(plain, withMenu));
    const QImage before(plain), after(withMenu);
    ASSERT_FALSE(before.isNull());
    ASSERT_FALSE(after.isNull());
    EXPECT_NE(before.convertToFormat(QImage::Format_RGB32),
              after.convertToFormat(QImage::Format_RGB32).copy(before.rect()));
}
