#include "control/ScriptedPrompter.h"

#include <gtest/gtest.h>

TEST(ScriptedPrompter, PrintsEachPromptAndTakesQueuedAnswersByKind) {
    QStringList lines;
    ScriptedPrompter prompter([&](const QString& line) { lines.append(line); });
    prompter.queueAnswer("ask", "no");
    prompter.queueAnswer("ask", "2");
    prompter.queueAnswer("files", "/a\n/b");
    prompter.queueAnswer("folder", "/tmp");

    prompter.message("t", "hello");
    EXPECT_EQ(prompter.ask("t", "sure?", {"Yes", "No", "Cancel"}, 0), 1);
    EXPECT_EQ(prompter.ask("t", "again?", {"Yes", "No", "Cancel"}, 0), 2);
    EXPECT_EQ(prompter.ask("t", "default?", {"Yes", "No"}, 1), 1) << "no answer left";
    EXPECT_EQ(prompter.openFiles("pick", "", ""), QStringList({"/a", "/b"}));
    EXPECT_EQ(prompter.chooseFolder("where", ""), "/tmp");
    EXPECT_TRUE(prompter.chooseFolder("where", "").isEmpty());

    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "prompt: message: hello");
    EXPECT_EQ(lines[1], "prompt: ask: sure? [Yes|No|Cancel]");
}

TEST(ScriptedPrompter, AnswersThatMatchNoButtonFallBackToTheDefault) {
    ScriptedPrompter prompter([](const QString&) {});
    prompter.queueAnswer("ask", "Maybe");
    prompter.queueAnswer("ask", "9");
    EXPECT_EQ(prompter.ask("t", "q", {"Yes", "No"}, 1), 1);
    EXPECT_EQ(prompter.ask("t", "q", {"Yes", "No"}, 0), 0);
}
