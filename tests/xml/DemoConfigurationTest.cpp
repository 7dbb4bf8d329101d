#include "FakePrompter.h"
#include "QStringPrinter.h"
#include "xml/UIConfig.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every text the windows read, by section, from the one list of keys they read them by.
template <std::size_t N>
QStringList missingTexts(const UIConfig& config, const char* section,
                         const std::array<const char*, N>& labels) {
    QStringList missing;
    for (const char* label : labels) {
        if (config.Dialog(section).text(QLatin1String(label)).isEmpty())
            missing.append(QLatin1String(section) + QLatin1String(label));
    }
    return missing;
}

} // namespace

// The demo site dresses every window: no label, button, status or row state is left blank.
TEST(DemoConfigurationTest, EveryKeyTheControlReadsHasAText) {
    QTemporaryDir dir;
    const QString copy = dir.filePath("ui.xml"); // loading deletes the file it reads
    ASSERT_TRUE(QFile::copy(QStringLiteral(VANTREL_DEMO_UI_CONFIG), copy));
    UIConfig config;
    FakePrompter prompter;
    ASSERT_TRUE(config.Load(copy, prompter));

    QStringList missing;
    missing += missingTexts(config, UIDialog::DownOpenWin, UIDialog::DownOpenWinLabels);
    missing += missingTexts(config, UIDialog::DownloadWin, UIDialog::DownloadWinLabels);
    missing += missingTexts(config, UIDialog::UploadWin, UIDialog::UploadWinLabels);
    missing += missingTexts(config, UIDialog::UpOverwriteMsgWin, UIDialog::UpOverwriteMsgWinLabels);
    missing +=
        missingTexts(config, UIDialog::DownOverwriteMsgWin, UIDialog::DownOverwriteMsgWinLabels);
    missing += missingTexts(config, UIDialog::PostWin, UIDialog::PostWinLabels);
    missing += missingTexts(config, UIDialog::CreateListDataWin, UIDialog::CreateListDataWinLabels);
    for (const char* key : {UIKey::NewFolderName, UIKey::DateFormat, UIKey::CommSelFolderWin}) {
        if (config.GetValue(QLatin1String(key)).isEmpty())
            missing.append(QLatin1String(key));
    }
    EXPECT_EQ(missing, QStringList());
    EXPECT_EQ(config.Columns(UIKey::LocalListColumns).size(), 4);
    EXPECT_EQ(config.Columns(UIKey::ServerListColumns).size(), 4);
}
