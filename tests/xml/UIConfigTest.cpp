#include "xml/UIConfig.h"

#include "FakePrompter.h"
#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "settings/ControlSettings.h"
#include "xml/DocumentFetch.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kConfig = R"(<?xml version="1.0" encoding="UTF-8"?>
<VANTRELUI>
  <UICOLOR>
    <LocalTreebgClr VALUE="#FF0000"/>
    <LocalTreetxtClr VALUE="FFFFFF"/>
    <LocalHeaderbgClr VALUE="#FFFFFF0"/>
    <ServerTreebgClr VALUE="x00FF00"/>
    <ServerTreetxtClr VALUE="#ZZ0000"/>
    <ServerListbgClr VALUE="#0000FF"/>
  </UICOLOR>
  <LISTCOLUMNTITLE>
    <LOCALLIST>
      <COL name="이름" width="120" align="left"/>
      <COL name="크기" width="80px" align="center"/>
      <COL name="종류" width="wide"/>
    </LOCALLIST>
  </LISTCOLUMNTITLE>
  <NEWFOLDERNAME VALUE="새 폴더"/>
  <DATEFORMAT VALUE="%Y-%m-%d %H:%M"/>
  <COMMSELFOLDERWIN VALUE="폴더 선택"/>
  <UPLOAD_WIN>
    <WindowsTitle VALUE="업로드"/>
    <S_UploadMsg VALUE="%s 전송 중 %n%d"/>
  </UPLOAD_WIN>
</VANTRELUI>)";

QString WriteTemp(const QByteArray& bytes) {
    const QString path = MakeTempPath();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
}

} // namespace

TEST(UIConfig, EveryKeyHasItsDefaultWithoutADocument) {
    const UIConfig config;
    EXPECT_EQ(config.Color(UIColor::LocalTreebgClr), QColor(255, 255, 255));
    EXPECT_EQ(config.Color(UIColor::LocalHeaderbgClr), QColor(0xEF, 0xEF, 0xEF));
    EXPECT_EQ(config.Color(UIColor::ServerListRemoteSelbarClr), QColor(0x08, 0x24, 0x6B));
    EXPECT_EQ(config.Color(UIColor::ServerListLocaltxtClr), QColor(0x33, 0x33, 0xCC));
    EXPECT_EQ(config.Color(UIColor::ServerListbgClr, Qt::cyan), QColor(Qt::cyan));
    EXPECT_EQ(config.GetValue(UIKey::NewFolderName), "");
    EXPECT_EQ(config.GetChildCount(UIKey::LocalListColumns), 0);
    EXPECT_TRUE(config.GetChild(UIKey::LocalListColumns, 0).isNull());
    EXPECT_TRUE(config.Columns(UIKey::ServerListColumns).isEmpty());
    EXPECT_EQ(config.Dialog(UIDialog::DownOpenWin).text("WindowsTitle"), "");
}

TEST(UIConfig, ReadsColoursColumnsTextsAndSettings) {
    IsolatedHome home;
    FakePrompter prompter;
    UIConfig config;
    ASSERT_TRUE(config.Load(WriteTemp(kConfig), prompter));
    EXPECT_TRUE(prompter.messages.isEmpty());

    EXPECT_EQ(config.Color(UIColor::LocalTreebgClr), QColor(255, 0, 0));
    EXPECT_EQ(config.Color(UIColor::LocalTreetxtClr), QColor(0, 0, 0));           // 6 chars
    EXPECT_EQ(config.Color(UIColor::LocalHeaderbgClr), QColor(0xEF, 0xEF, 0xEF)); // 8 chars
    EXPECT_EQ(config.Color(UIColor::ServerTreebgClr), QColor(0, 255, 0)); // first not checked
    EXPECT_EQ(config.Color(UIColor::ServerTreetxtClr), QColor(0, 0, 0));  // "ZZ" reads as 0
    EXPECT_EQ(config.Color(UIColor::ServerListbgClr, Qt::white), QColor(0, 0, 255));
    EXPECT_EQ(config.Color(UIColor::LocalListbgClr, Qt::gray), QColor(Qt::gray));

    const QList<ColumnSpec> columns = config.Columns(UIKey::LocalListColumns);
    ASSERT_EQ(columns.size(), 3);
    EXPECT_EQ(columns[0].title, "이름");
    EXPECT_EQ(columns[0].align, Qt::AlignLeft);
    EXPECT_EQ(columns[0].width, 120);
    EXPECT_EQ(columns[1].align, Qt::AlignHCenter);
    EXPECT_EQ(columns[1].width, 80);
    EXPECT_EQ(columns[2].align, Qt::AlignRight);
    EXPECT_EQ(columns[2].width, 0);
    EXPECT_EQ(config.GetChildCount(UIKey::LocalListColumns), 3);
    EXPECT_EQ(config.GetChild(UIKey::LocalListColumns, 2).attribute("name"), "종류");
    EXPECT_TRUE(config.GetChild(UIKey::LocalListColumns, 3).isNull());
    EXPECT_TRUE(config.Columns(UIKey::ServerListColumns).isEmpty());

    const DialogTexts upload = config.Dialog(UIDialog::UploadWin);
    EXPECT_EQ(upload.text("WindowsTitle"), "업로드");
    EXPECT_EQ(upload.text("W_UpTxt"), "");
    for (const char* label : UIDialog::DownOverwriteMsgWinLabels)
        EXPECT_EQ(config.Dialog(UIDialog::DownOverwriteMsgWin).text(label), "") << label;

    ControlSettings settings;
    config.ApplyToSettings(settings);
    EXPECT_EQ(settings.newFolderName, "새 폴더");
    EXPECT_EQ(settings.dateFormat, "%Y-%m-%d %H:%M");
    EXPECT_EQ(settings.folderBrowseTitle, "폴더 선택");
}

TEST(UIConfig, EmptyFileLoadsEmptyAndBrokenFileFails) {
    IsolatedHome home;
    FakePrompter prompter;
    UIConfig config;
    ASSERT_TRUE(config.Load(WriteTemp(kConfig), prompter));

    const QString broken = WriteTemp(kConfig.left(kConfig.size() / 2));
    EXPECT_FALSE(config.Load(broken, prompter));
    EXPECT_EQ(prompter.messages, QStringList{"[UIConfig] load에러"});
    EXPECT_FALSE(QFile::exists(broken));
    EXPECT_EQ(config.GetValue(UIKey::NewFolderName), "새 폴더"); // previous document kept

    const QString empty = MakeTempPath();
    EXPECT_TRUE(config.Load(empty, prompter));
    EXPECT_FALSE(QFile::exists(empty));
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_FALSE(config.isLoaded());
    EXPECT_EQ(config.GetValue(UIKey::NewFolderName), "");
}

TEST(UIConfig, EmptyLocationEndsTheLoadWithItsMessage) {
    FakePrompter prompter;
    UIConfig config;
    ControlSettings settings;
    const UIConfigLoadResult result = config.FetchAndLoad(settings, prompter);
    EXPECT_EQ(result.code, 0);
    EXPECT_FALSE(result.continueLoad);
    EXPECT_EQ(prompter.messages, QStringList{"UI config XML not found."});
}

TEST(UIConfig, UnwritableDataFolderIsCode2008) {
    IsolatedHome home;
    QDir().mkpath(home.cacheHome() + "/Vantrel");
    QFile blocker(home.cacheHome() + "/Vantrel/Data");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    FakePrompter prompter;
    UIConfig config;
    ControlSettings settings;
    settings.UIConfigXML = "http://127.0.0.1:1/ui.xml";
    const UIConfigLoadResult result = config.FetchAndLoad(settings, prompter);
    EXPECT_EQ(result.code, -2008);
    EXPECT_FALSE(result.continueLoad);
    EXPECT_TRUE(prompter.messages.isEmpty());
}
