#include "transfer/DownloadQuestions.h"

#include "common/LocalPath.h"
#include "common/UiThread.h"

#include <QMutex>
#include <QMutexLocker>
#include <QWaitCondition>
#include <functional>
#include <memory>

namespace {

constexpr int kCancelCheckMs = 100;

// One question in flight between a worker and the UI thread.
template <typename Answer> struct PendingAnswer {
    QMutex lock;
    QWaitCondition answered;
    bool done = false;
    bool abandoned = false;
    Answer value{};
};

// Runs `ask` on the UI thread and waits for it; `fallback` when cancelled or unreachable.
template <typename Answer>
Answer AskOnUiThread(QObject* receiver, const DownloadJob& job, std::function<Answer()> ask,
                     Answer fallback) {
    if (!receiver || job.isCancelled())
        return fallback;
    auto pending = std::make_shared<PendingAnswer<Answer>>();
    RunOnUiThread(receiver, [pending, ask = std::move(ask)] {
        {
            QMutexLocker lock(&pending->lock);
            if (pending->abandoned)
                return;
        }
        const Answer value = ask();
        QMutexLocker lock(&pending->lock);
        pending->value = value;
        pending->done = true;
        pending->answered.wakeAll();
    });
    QMutexLocker lock(&pending->lock);
    while (!pending->done) {
        if (job.isCancelled()) {
            pending->abandoned = true;
            return fallback;
        }
        pending->answered.wait(&pending->lock, kCancelCheckMs);
    }
    return pending->value;
}

} // namespace

PrompterQuestions::PrompterQuestions(QObject* receiver, Prompter& prompter, const DownloadJob& job)
    : receiver_(receiver), prompter_(&prompter), job_(job) {}

OptionQuestion PrompterQuestions::overwriteQuestion(const DialogTextCopy& texts,
                                                    const QString& targetPath) {
    OptionQuestion question;
    question.title = texts.text(QStringLiteral("WindowsTitle"));
    question.text = texts.text(QStringLiteral("MainTxt"));
    question.label = texts.text(QStringLiteral("FileNameTxt"));
    question.value = LocalFileName(targetPath);
    question.groupTitle = texts.text(QStringLiteral("OptionTxt"));
    question.options = {texts.text(QStringLiteral("Radio1Txt")),
                        texts.text(QStringLiteral("Radio2Txt")),
                        texts.text(QStringLiteral("Radio3Txt"))};
    question.defaultOption = 1;
    question.checkText = texts.text(QStringLiteral("CheckTxt"));
    question.confirmText = texts.text(QStringLiteral("OkButTxt"));
    return question;
}

QString PrompterQuestions::saveFilter(const QString& proposedPath) {
    const QString name = LocalFileName(proposedPath);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot + 1 >= name.size())
        return QStringLiteral("All Files (*)");
    const QString extension = name.mid(dot + 1);
    return QStringLiteral("Files (*.%1) (*.%1)").arg(extension);
}

OverwriteAnswer PrompterQuestions::askOverwrite(const QString& targetPath) {
    const OptionQuestion question = overwriteQuestion(job_.overwriteTexts, targetPath);
    Prompter* prompter = prompter_;
    return AskOnUiThread<OverwriteAnswer>(
        receiver_, job_,
        [prompter, question] {
            const OptionAnswer answer = prompter->chooseOption(question);
            return OverwriteAnswer{std::clamp(answer.option, 0, 2), answer.checked};
        },
        OverwriteAnswer{2, false});
}

QString PrompterQuestions::askSavePath(const QString& proposedPath) {
    Prompter* prompter = prompter_;
    const QString filter = saveFilter(proposedPath);
    return AskOnUiThread<QString>(
        receiver_, job_,
        [prompter, proposedPath, filter] {
            return prompter->saveFile(QString(), proposedPath, filter);
        },
        QString());
}
