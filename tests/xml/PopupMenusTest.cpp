#include "xml/PopupMenus.h"

#include "FakePrompter.h"
#include "QStringPrinter.h"
#include "common/FocusPanes.h"
#include "xml/DocumentFetch.h"
#include "xml/UIConfig.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kMenus = R"(<?xml version="1.0" encoding="UTF-8"?>
<VANTRELUI>
  <POPUPMENU>
    <SERVERTREE>
      <ITEM id="20001" name="새 폴더" eventcode="11"/>
      <ITEM id="-" name="ignored" eventcode="99"/>
      <MENU id="20002" name="Any element name" eventcode="12"/>
    </SERVERTREE>
    <SERVERLIST>
      <NOSELECT>
        <ITEM id="20101" name="Upload" eventcode="21"/>
        <ITEM id="20102" name="Download all" type="server" eventcode="22"/>
      </NOSELECT>
      <ONESELECT>
        <ITEM id="20111" name="Open" eventcode="23"/>
        <ITEM id="20112" name="Download" type="server" eventcode="24"/>
        <ITEM id="20113" name="Rename" type="Server" eventcode="25"/>
      </ONESELECT>
      <MORESELECT>
        <ITEM id="20121" name="Delete all" eventcode="26"/>
        <ITEM id="20122" name="Download selected" type="server" eventcode="27"/>
      </MORESELECT>
      <COMMON>
        <ITEM id="-"/>
        <ITEM id="20131" name="Refresh" eventcode="28"/>
        <ITEM id="20132" name="Fetch catalogue" type="server" eventcode="29"/>
      </COMMON>
    </SERVERLIST>
    <LOCALLIST>
      <ONESELECT>
        <ITEM id="20211" name="Queue" type="server" eventcode="31"/>
      </ONESELECT>
      <COMMON>
        <ITEM id="20231" eventcode="abc"/>
        <ITEM id="x20232" name="Not a number" eventcode="33"/>
        <ITEM id="20233" name="No code"/>
        <ITEM id="20234" name="Negative" eventcode="-4"/>
        <ITEM id="020235" name="Leading zero" eventcode="35"/>
        <ITEM id="20236" name="Digits first" eventcode="36th"/>
      </COMMON>
    </LOCALLIST>
    <LOCALTREE>
      <ITEM id="20001" name="Same id, later" eventcode="77"/>
      <ENTRY id="20301" name="Not an ITEM" eventcode="41"/>
    </LOCALTREE>
  </POPUPMENU>
</VANTRELUI>)";

QStringList Texts(const QList<PopupMenuItem>& items) {
    QStringList texts;
    for (const PopupMenuItem& item : items)
        texts.append(item.separator ? QStringLiteral("-") : item.text);
    return texts;
}

class PopupMenus : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(load(kMenus)); }

    bool load(const QByteArray& bytes) {
        const QString path = MakeTempPath();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        file.write(bytes);
        file.close();
        return config.Load(path, prompter);
    }

    FakePrompter prompter;
    UIConfig config;
};

} // namespace

TEST_F(PopupMenus, TreesShowTheirSectionWithSeparatorsWhateverTheElementNames) {
    const QList<PopupMenuItem> tree = PopupMenuItems(config, ServerTreePane);
    ASSERT_EQ(tree.size(), 3);
    EXPECT_EQ(tree[0], (PopupMenuItem{false, 20001, "새 폴더"}));
    EXPECT_EQ(tree[1], (PopupMenuItem{true, 0, ""})) << "a separator ignores its other attributes";
    EXPECT_EQ(tree[2], (PopupMenuItem{false, 20002, "Any element name"}));
    EXPECT_EQ(Texts(PopupMenuItems(config, LocalTreePane)),
              QStringList({"Same id, later", "Not an ITEM"}));
}

TEST_F(PopupMenus, ListsShowTheSectionOfTheirSelectionThenTheCommonItems) {
    EXPECT_EQ(Texts(PopupMenuItems(config, ServerListPane, {0, true})),
              QStringList({"Upload", "Download all", "-", "Refresh", "Fetch catalogue"}));
    EXPECT_EQ(Texts(PopupMenuItems(config, ServerListPane, {1, true})),
              QStringList({"Open", "Download", "Rename", "-", "Refresh", "Fetch catalogue"}));
    EXPECT_EQ(Texts(PopupMenuItems(config, ServerListPane, {5, true})),
              QStringList({"Delete all", "Download selected", "-", "Refresh", "Fetch catalogue"}));
    // A missing section leaves only the common items.
    EXPECT_EQ(PopupMenuItems(config, LocalListPane, {0}).size(), 6);
    EXPECT_EQ(Texts(PopupMenuItems(config, LocalListPane, {2})).first(), "");
}

TEST_F(PopupMenus, ServerTypedItemsNeedAServerSelectionInTheServerListOnly) {
    // A queued local file selected: "server" items go, in the common section too; a type
    // spelt otherwise stays.
    EXPECT_EQ(Texts(PopupMenuItems(config, ServerListPane, {1, false})),
              QStringList({"Open", "Rename", "-", "Refresh"}));
    EXPECT_EQ(Texts(PopupMenuItems(config, ServerListPane, {3, false})),
              QStringList({"Delete all", "-", "Refresh"}));
    // Nothing selected shows them whatever the test says.
    EXPECT_EQ(Texts(PopupMenuItems(config, ServerListPane, {0, false})),
              QStringList({"Upload", "Download all", "-", "Refresh", "Fetch catalogue"}));
    // The local list never filters.
    EXPECT_EQ(Texts(PopupMenuItems(config, LocalListPane, {1, false})).first(), "Queue");
}

TEST_F(PopupMenus, CommandNumbersReadAsTheCLibraryReadsThem) {
    const QList<PopupMenuItem> common = PopupMenuItems(config, LocalListPane, {0});
    ASSERT_EQ(common.size(), 6);
    EXPECT_EQ(common[0].command, 20231);
    EXPECT_EQ(common[1].command, 0) << "an id that is not a number";
    EXPECT_EQ(common[4].command, 20235) << "a leading zero still reads as the number";
}

TEST_F(PopupMenus, EventCodesComeFromTheFirstItemWithThatIdAnywhereInTheMenus) {
    EXPECT_EQ(PopupEventCode(config, 20001), 11) << "the server tree's item comes first";
    EXPECT_EQ(PopupEventCode(config, 20132), 29);
    EXPECT_EQ(PopupEventCode(config, 20231), 0) << "eventcode \"abc\"";
    EXPECT_EQ(PopupEventCode(config, 20233), 0) << "no eventcode";
    EXPECT_EQ(PopupEventCode(config, 20234), -4);
    EXPECT_EQ(PopupEventCode(config, 20236), 36);
    EXPECT_EQ(PopupEventCode(config, 20235), kNoEventCode) << "\"020235\" is not \"20235\"";
    EXPECT_EQ(PopupEventCode(config, 20002), kNoEventCode) << "shown, but not an ITEM";
    EXPECT_EQ(PopupEventCode(config, 20301), kNoEventCode);
    EXPECT_EQ(PopupEventCode(config, 0), kNoEventCode) << "separators and unnumbered items";
}

TEST_F(PopupMenus, MenusFollowTheDocumentLoadedNowAndAreEmptyWithoutOne) {
    EXPECT_TRUE(PopupMenuItems(config, NoPane).isEmpty());
    ASSERT_TRUE(load(R"(<UI><POPUPMENU><SERVERTREE><ITEM id="20001" name="Reloaded" eventcode="5"/>
                        </SERVERTREE></POPUPMENU></UI>)"));
    EXPECT_EQ(Texts(PopupMenuItems(config, ServerTreePane)), QStringList({"Reloaded"}));
    EXPECT_EQ(PopupEventCode(config, 20001), 5);
    EXPECT_TRUE(PopupMenuItems(config, ServerListPane, {1}).isEmpty());
    // Codes come from the menus that were shown, not from a POPUPMENU nested elsewhere.
    ASSERT_TRUE(load(R"(<UI><HELP><POPUPMENU><ITEM id="20001" eventcode="9"/></POPUPMENU></HELP>
                        <POPUPMENU><SERVERTREE><ITEM id="20001" name="Shown" eventcode="5"/>
                        </SERVERTREE></POPUPMENU></UI>)"));
    EXPECT_EQ(PopupEventCode(config, 20001), 5);

    const UIConfig none;
    for (qint16 pane : {ServerTreePane, ServerListPane, LocalTreePane, LocalListPane})
        EXPECT_TRUE(PopupMenuItems(none, pane).isEmpty());
    EXPECT_EQ(PopupEventCode(none, 20001), kNoEventCode);
}
