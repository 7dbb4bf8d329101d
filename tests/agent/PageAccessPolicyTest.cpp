#include "PageAccessPolicy.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

// Answers the questions from a list, in order, and keeps them.
struct ScriptedUser {
    QStringList questions;
    QList<bool> answers;
    PageAccessPolicy::Asker asker() {
        return [this](const QString& question) {
            questions.append(question);
            return !answers.isEmpty() && answers.takeFirst();
        };
    }
};

} // namespace

TEST(PageAccessPolicy, TheUserIsAskedOncePerPathAndUseAndTheAnswerHolds) {
    ScriptedUser user;
    user.answers = {true, false, true};
    PageAccessPolicy policy("https://site.example", false, user.asker());
    EXPECT_TRUE(policy.allows(PagePathUse::QueueForUpload, "/home/u/a.txt"));
    EXPECT_TRUE(policy.allows(PagePathUse::QueueForUpload, "/home/u/a.txt"));
    EXPECT_FALSE(policy.allows(PagePathUse::Delete, "/home/u/a.txt")) << "another use";
    EXPECT_FALSE(policy.allows(PagePathUse::Delete, "/home/u/a.txt")) << "no stays no";
    EXPECT_TRUE(policy.allows(PagePathUse::QueueForUpload, "/home/u/b.txt"));
    EXPECT_EQ(user.questions,
              QStringList({"Allow https://site.example to queue /home/u/a.txt for upload?",
                           "Allow https://site.example to delete /home/u/a.txt?",
                           "Allow https://site.example to queue /home/u/b.txt for upload?"}));
}

TEST(PageAccessPolicy, ATrustedOriginAndAnEmptyPathAreNotAsked) {
    ScriptedUser user;
    PageAccessPolicy trusted("https://site.example", true, user.asker());
    EXPECT_TRUE(trusted.allows(PagePathUse::Delete, "/home/u/a.txt"));
    PageAccessPolicy untrusted("https://site.example", false, user.asker());
    EXPECT_TRUE(untrusted.allows(PagePathUse::OpenFolder, ""));
    EXPECT_TRUE(user.questions.isEmpty());
}

TEST(PageAccessPolicy, WithoutAnyoneToAskEveryNamedPathIsRefused) {
    PageAccessPolicy policy("https://site.example", false, nullptr);
    EXPECT_FALSE(policy.allows(PagePathUse::DownloadInto, "/tmp"));
}

TEST(PageAccessPolicy, EachUseIsNamedInItsQuestion) {
    EXPECT_EQ(PageAccessPolicy::question("https://s.example", PagePathUse::DownloadInto, "/d"),
              "Allow https://s.example to save downloads into /d?");
    EXPECT_EQ(PageAccessPolicy::question("https://s.example", PagePathUse::OpenFolder, "/d"),
              "Allow https://s.example to open the folder /d?");
}
