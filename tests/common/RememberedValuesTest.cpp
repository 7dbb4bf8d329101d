#include "common/RememberedValues.h"

#include "IsolatedHome.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

constexpr char kExpectVariable[] = "VANTREL_TEST_EXPECT_DOWNLOADPATH";

TEST(RememberedValues, EmptyUntilWrittenThenReadBackEachOnItsOwn) {
    IsolatedHome home;
    EXPECT_EQ(GetRemembered(RememberedValue::LocalUserCurrentPath), "");
    EXPECT_EQ(GetRemembered(RememberedValue::ServerUserCurrentPath), "");
    EXPECT_EQ(GetRemembered(RememberedValue::DownloadPath), "");

    SetRemembered(RememberedValue::LocalUserCurrentPath, "/home/u/docs");
    SetRemembered(RememberedValue::ServerUserCurrentPath, QString::fromUtf8("공유/자료"));
    EXPECT_EQ(GetRemembered(RememberedValue::LocalUserCurrentPath), "/home/u/docs");
    EXPECT_EQ(GetRemembered(RememberedValue::ServerUserCurrentPath),
              QString::fromUtf8("공유/자료"));
    EXPECT_EQ(GetRemembered(RememberedValue::DownloadPath), "");
    EXPECT_TRUE(QFile::exists(home.configHome() + "/Morvex/Vantrel.conf"));
}

TEST(RememberedValues, AwkwardValuesSurviveWhole) {
    IsolatedHome home;
    const QString longValue = QString("/very/long").repeated(100);
    ASSERT_EQ(longValue.size(), 1000);
    for (const QString& value : {longValue, QString("/a,b;c = d"), QString(" padded "),
                                 QString("@Variant(x)"), QString("line\nbreak")}) {
        SetRemembered(RememberedValue::DownloadPath, value);
        EXPECT_EQ(GetRemembered(RememberedValue::DownloadPath), value) << value.toStdString();
    }
}

TEST(RememberedValues, WrittenValueIsReadByAnotherProcess) {
    IsolatedHome home;
    const QString value = QString::fromUtf8("/srv/받은 파일");
    SetRemembered(RememberedValue::DownloadPath, value);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kExpectVariable, value);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=RememberedValuesChild.ReadsTheExpectedDownloadPath"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    EXPECT_FALSE(output.contains("SKIPPED")) << output.toStdString();
}

// Runs only as the child of the test above, in the environment it hands down.
TEST(RememberedValuesChild, ReadsTheExpectedDownloadPath) {
    if (!qEnvironmentVariableIsSet(kExpectVariable))
        GTEST_SKIP() << "runs only as a child process";
    EXPECT_EQ(GetRemembered(RememberedValue::DownloadPath), qEnvironmentVariable(kExpectVariable));
}

} // namespace
