#include "transfer/widgets/UploadWindow.h"

#include "UploadFixture.h"
#include "settings/ControlSettings.h"
#include "transfer/UploadOverwrite.h"
#include "transfer/widgets/StartUpload.h"
#include "xml/UIConfig.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QByteArray kTexts = R"(<?xml version="1.0" encoding="UTF-8"?>
<VANTRELUI>
  <UPLOAD_WIN>
    <WindowsTitle VALUE="올리기"/><W_UpTxt VALUE="전송"/><W_CountTxt VALUE="개 남음"/>
    <SL_Wait VALUE="대기"/><W_CancelBut VALUE="취소"/><W_COLTITLE_NAME VALUE="이름"/>
  </UPLOAD_WIN>
  <UP_OVERWRITEMSG_WIN>
    <WindowsTitle VALUE="덮어쓰기"/><W_FilenameTxt VALUE="파일:"/><W_Comment VALUE="바꿀까요?"/>
    <W_OldFileTxt VALUE="기존:"/><W_NewFileTxt VALUE="새:"/><W_YesBut VALUE="예"/>
    <W_AllYesBut VALUE="모두 예"/><W_NoBut VALUE="아니오"/><W_CancelBut VALUE="취소"/>
  </UP_OVERWRITEMSG_WIN>
</VANTRELUI>)";

class UploadWindowTest : public UploadFixture {
protected:
    void SetUp() override {
        UploadFixture::SetUp();
        const QString path = work_.filePath("ui.xml");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kTexts);
        file.close();
        ASSERT_TRUE(uiConfig_.Load(path, prompter_));
    }

    UploadContext context() {
        settings_.HttpServerName = "127.0.0.1";
        settings_.HttpPORT = static_cast<quint16>(server_->port());
        settings_.Charset = "utf-8";
        settings_.documentCookie = "";
        return {settings_, catalogue_, journal_, uiConfig_, prompter_, nullptr};
    }

    ControlSettings settings_;
    UIConfig uiConfig_;
};

TEST_F(UploadWindowTest, OverwriteQuestionGivesItsFourAnswers) {
    const UploadOverwriteQuestion question{"a.txt", "1KB", "2020-01-01", "2KB", "2024-05-05"};
    for (int button = 0; button < 4; ++button) {
        prompter_.answers.enqueue(button);
        EXPECT_EQ(askUploadOverwrite(prompter_, uiConfig_, question), button + 1);
    }
    EXPECT_EQ(prompter_.askedTitle, "덮어쓰기");
    EXPECT_EQ(prompter_.askedButtons, QStringList({"예", "모두 예", "아니오", "취소"}));
    EXPECT_TRUE(prompter_.askedText.contains("파일: a.txt"));
    EXPECT_TRUE(prompter_.askedText.contains("기존: 1KB 2020-01-01"));
    EXPECT_TRUE(prompter_.askedText.contains("새: 2KB 2024-05-05"));
    prompter_.answers.enqueue(-1); // closed without a button
    EXPECT_EQ(askUploadOverwrite(prompter_, uiConfig_, question), UploadOverwriteAnswer::Cancel);
    prompter_.answers.enqueue(9);
    EXPECT_EQ(askUploadOverwrite(prompter_, uiConfig_, question), UploadOverwriteAnswer::Cancel);
}

TEST_F(UploadWindowTest, StartUploadRunsTheWindowAndSetsTheErrorTriple) {
    queue({writeLocal("a.txt", "aaa"), writeLocal("b.txt", "bb")}, {"a.txt", "b.txt"});
    startServer();
    ASSERT_TRUE(journal_.AddUploadRecord("stale", "s", "1", "", "", "", "", prompter_));
    // Esc, Enter and closing must not end the window while the worker runs.
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<UploadWindow*>(QApplication::activeModalWidget());
        if (!window)
            return;
        EXPECT_EQ(window->windowTitle(), "올리기");
        EXPECT_EQ(window->fileList()->topLevelItemCount(), 2);
        for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(window, &press);
        }
        window->close();
        stayedOpen = window->isVisible();
    });
    settings_.UploadPOSTFile = "/up.php";
    EXPECT_EQ(StartUpload(context(), QString()), 0);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(settings_.httpErrorCode, 0);
    EXPECT_EQ(settings_.httpErrorText, "정상 종료 하였습니다.");
    EXPECT_EQ(journal_.GetCurrentUploadFileCnt(), 2);
    EXPECT_EQ(transtypes(), QStringList({"server", "server", "server"}));
    EXPECT_EQ(ReadAll(uploadsPath() + "/disk/docs/b.txt"), "bb");
}

TEST_F(UploadWindowTest, DefaultSizeShowsEveryColumnWithoutScrollingSideways) {
    const QString name = QString(240, 'u') + ".txt";
    queue({writeLocal(name, "aaa"), writeLocal("b.txt", "bb")}, {name, "b.txt"});
    startServer({"--delay-ms", "300"});
    bool inspected = false;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<UploadWindow*>(QApplication::activeModalWidget());
        if (!window)
            return;
        inspected = true;
        QTreeWidget* list = window->fileList();
        EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
        EXPECT_LE(list->header()->sectionSize(0) + list->header()->sectionSize(1) +
                      list->header()->sectionSize(2),
                  list->viewport()->width());
        EXPECT_GE(list->header()->sectionSize(2), 127);
        EXPECT_LE(window->frameGeometry().width(), window->screen()->availableGeometry().width());
        window->grab().save("/tmp/vantrel-upload-window.png");
    });
    settings_.UploadPOSTFile = "/up.php";
    EXPECT_EQ(StartUpload(context(), QString()), 0);
    EXPECT_TRUE(inspected);
}

TEST_F(UploadWindowTest, ListBuildingOutcomesAndMissingScript) {
    queue({writeLocal("a.txt", "aaa")}, {"a.txt"});
    startServer();
    EXPECT_EQ(StartUpload(context(), QString()), 0);
    EXPECT_EQ(prompter_.messages, QStringList({"POST파일이 없습니다."}));
    EXPECT_EQ(StartUpload(context(), "/up.php", [](QList<UploadRow>&) { return qint16(-97); }),
              -97);
    EXPECT_EQ(settings_.httpErrorText, "업로드할 파일 리스트 작성중 에러가 발생 하였습니다.");
    EXPECT_EQ(StartUpload(context(), "/up.php", [](QList<UploadRow>&) { return qint16(-99); }),
              -99);
    EXPECT_EQ(settings_.httpErrorText, "사용자의 의한 전송 취소");
    EXPECT_TRUE(ReadRequestLog(logPath()).isEmpty());
    EXPECT_EQ(transtypes(), QStringList({"server", "local"}));
}

TEST_F(UploadWindowTest, CancelButtonEndsTheRunAndJoinsTheWorker) {
    const QString big = local_.filePath("big.bin");
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(64 * 1024 * 1024));
    }
    queue({big}, {"big.bin"});
    startServer({"--delay-ms", "3000"});
    QTimer clicker;
    clicker.setInterval(50);
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        auto* window = qobject_cast<UploadWindow*>(QApplication::activeModalWidget());
        if (window && window->cancelButton()->isEnabled())
            window->cancelButton()->click();
    });
    clicker.start();
    EXPECT_EQ(StartUpload(context(), "/up.php"), -99);
    EXPECT_EQ(settings_.httpErrorText, "사용자가 전송을 취소 하였습니다.");
    EXPECT_EQ(transtypes(), QStringList({"server", "local"}));
}

} // namespace
