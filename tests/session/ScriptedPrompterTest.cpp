#include "session/ScriptedPrompter.h"

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

TEST(ScriptedPrompter, OptionAndSaveAnswers) {
    QStringList lines;
    ScriptedPrompter prompter([&](const QString& line) { lines.append(line); });
    const OptionQuestion question{
        "t", "exists", "name", "f.bin", "what", {"Resume", "Overwrite", "Skip"}, 1, "all", "OK"};
    prompter.queueAnswer("option", "skip+check");
    prompter.queueAnswer("option", "0");
    prompter.queueAnswer("option", "nonsense");
    prompter.queueAnswer("save", "/tmp/x.bin");

    const OptionAnswer first = prompter.chooseOption(question);
    EXPECT_EQ(first.option, 2);
    EXPECT_TRUE(first.checked);
    EXPECT_EQ(prompter.chooseOption(question).option, 0);
    EXPECT_EQ(prompter.chooseOption(question).option, 1) << "unknown answer keeps the default";
    const OptionAnswer unanswered = prompter.chooseOption(question);
    EXPECT_EQ(unanswered.option, 1);
    EXPECT_FALSE(unanswered.checked);
    EXPECT_EQ(prompter.saveFile("s", "/p/f.bin", ""), "/tmp/x.bin");
    EXPECT_TRUE(prompter.saveFile("s", "/p/f.bin", "").isEmpty());
    EXPECT_EQ(lines.value(0), "prompt: option: exists f.bin [Resume|Overwrite|Skip]");
    EXPECT_EQ(lines.value(4), "prompt: save: s: /p/f.bin");
}

TEST(ScriptedPrompter, AHostsOwnYesOrNoQuestionIsNoUnlessAnsweredYes) {
    QStringList lines;
    ScriptedPrompter prompter([&](const QString& line) { lines.append(line); });
    prompter.queueAnswer("path", "Allow");
    prompter.queueAnswer("path", "no");
    prompter.queueAnswer("path", "YES");
    prompter.queueAnswer("ask", "yes");
    EXPECT_TRUE(prompter.confirm("path", "may it?"));
    EXPECT_FALSE(prompter.confirm("path", "may it?"));
    EXPECT_TRUE(prompter.confirm("path", "may it?"));
    EXPECT_FALSE(prompter.confirm("path", "may it?")) << "nothing queued for the kind";
    EXPECT_EQ(lines.value(0), "prompt: path: may it?");
}
