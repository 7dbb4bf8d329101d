#include "AgentConfig.h"
#include "AgentOptions.h"
#include "IsolatedHome.h"
#include "QStringPrinter.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(AgentOptions, ReadsEveryOptionAndRefusesMalformedOnes) {
    AgentOptions options;
    QString error;
    ASSERT_TRUE(
        ParseAgentOptions({"--offscreen", "--port", "0", "--allow-origin", "http://localhost:8080",
                           "--answer", "path=allow", "--answer", "files=/a\n/b"},
                          options, error))
        << error.toStdString();
    EXPECT_TRUE(options.offscreen);
    EXPECT_EQ(options.port, 0);
    EXPECT_EQ(options.allowedOrigins, QStringList({"http://localhost:8080"}));
    ASSERT_EQ(options.answers.size(), 2);
    EXPECT_EQ(options.answers[1].first, "files");
    EXPECT_EQ(options.answers[1].second, "/a\n/b");

    for (const QStringList& bad :
         {QStringList{"--port", "70000"}, QStringList{"--port", "x"}, QStringList{"--port"},
          QStringList{"--allow-origin", "example.org"}, QStringList{"--answer", "=yes"},
          QStringList{"--nonsense"}, QStringList{"page.js"}}) {
        AgentOptions ignored;
        EXPECT_FALSE(ParseAgentOptions(bad, ignored, error)) << bad.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    AgentOptions defaults;
    ASSERT_TRUE(ParseAgentOptions({}, defaults, error));
    EXPECT_EQ(defaults.port, -1) << "the configured port";
}

TEST(AgentConfig, LivesBesideTheOtherSettingsAndKeepsTheUsersAnswers) {
    IsolatedHome home;
    EXPECT_EQ(AgentConfig::defaultFile(), home.configHome() + "/Morvex/VantrelAgent.conf");
    const AgentConfig config(AgentConfig::defaultFile());
    EXPECT_EQ(config.port(), kDefaultAgentPort);
    EXPECT_TRUE(config.origins().allowed.isEmpty());

    config.remember("https://one.example", true);
    config.remember("https://two.example", true);
    config.remember("https://one.example", true);
    config.remember("https://no.example", false);
    EXPECT_EQ(config.origins().allowed,
              QStringList({"https://one.example", "https://two.example"}));
    EXPECT_EQ(config.origins().refused, QStringList({"https://no.example"}));
}

TEST(AgentConfig, AHandEditedFileHoldsAtTheNextRead) {
    IsolatedHome home;
    const AgentConfig config(AgentConfig::defaultFile());
    config.remember("https://one.example", true);
    QFile file(config.file());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[agent]\nport=48000\n[origins]\nallowed=https://two.example\n"
               "trusted=https://three.example, http://localhost:9000\n");
    file.close();
    EXPECT_EQ(config.port(), 48000);
    EXPECT_EQ(config.origins().allowed, QStringList({"https://two.example"}));
    EXPECT_EQ(config.origins().trusted,
              QStringList({"https://three.example", "http://localhost:9000"}));

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[agent]\nport=99999\n");
    file.close();
    EXPECT_EQ(config.port(), kDefaultAgentPort) << "no such port";
}
