#include "transfer/widgets/FormPostWindow.h"

#include "FormPostFixture.h"
#include "common/SilentPrompter.h"
#include "xml/UIConfig.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {

const QByteArray kTexts = R"(<?xml version="1.0" encoding="UTF-8"?>
<VANTRELUI>
  <POST_WIN><WindowsTitle VALUE="양식 보내기"/><W_Comment VALUE="서버로 보내는 중입니다."/></POST_WIN>
</VANTRELUI>)";

class FormPostWindowTest : public FormPostFixture {
protected:
    void SetUp() override {
        FormPostFixture::SetUp();
        const QString path = work_.filePath("ui.xml");
        write(path, kTexts);
        ASSERT_TRUE(uiConfig_.Load(path, prompter_));
    }

    // What the window showed while `job` ran in it.
    struct Seen {
        qint64 revealedAfterMs = -1; // -1: never seen
        QString title, comment;
        bool stayedOpen = false;
    };

    Seen runWindow(FormPostJob& job) {
        Seen seen;
        FormPostWindow window(job, uiConfig_);
        QElapsedTimer clock;
        QTimer watch;
        watch.setInterval(20);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (seen.revealedAfterMs < 0 && window.revealed()) {
                seen.revealedAfterMs = clock.elapsed();
                seen.title = window.windowTitle();
                seen.comment = window.findChild<QLabel*>()->text();
                // Esc, Enter and the close box leave a running post's window open.
                for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
                    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                    QApplication::sendEvent(&window, &press);
                }
                window.close();
                seen.stayedOpen = window.isVisible();
            }
        });
        clock.start();
        watch.start();
        window.exec();
        EXPECT_TRUE(job.finished());
        EXPECT_FALSE(window.isVisible());
        return seen;
    }

    SilentPrompter prompter_;
    UIConfig uiConfig_;
};

} // namespace

TEST_F(FormPostWindowTest, QuickPostIsNeverSeen) {
    startServer();
    posting_.addFormField("a", "1", "UTF-8");
    FormPostJob job;
    ASSERT_EQ(posting_.takeForm(job, settings_, {{}, 0, "/p"}), 0);
    const Seen seen = runWindow(job);
    EXPECT_EQ(seen.revealedAfterMs, -1);
    EXPECT_EQ(posting_.finish(job, settings_), 0);
    EXPECT_EQ(posting_.response(), "a=1");
}

TEST_F(FormPostWindowTest, SlowPostShowsItsWindowAfterAboutASecond) {
    startServer({"--delay-ms", "2500"});
    posting_.addXmlField("a", "1");
    FormPostJob job;
    ASSERT_EQ(posting_.takeXmlForm(job, settings_, {{}, 0, "/p"}, {}), 0);
    const Seen seen = runWindow(job);
    EXPECT_GE(seen.revealedAfterMs, 900);
    EXPECT_LT(seen.revealedAfterMs, 2400);
    EXPECT_EQ(seen.title, "양식 보내기");
    EXPECT_EQ(seen.comment, "서버로 보내는 중입니다.");
    EXPECT_TRUE(seen.stayedOpen);
    EXPECT_EQ(posting_.finish(job, settings_), 0);
}
