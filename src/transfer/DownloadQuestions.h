#pragma once

#include "common/Prompter.h"
#include "transfer/DownloadJob.h"

#include <QObject>

// The answer to "the target file exists": 0 resume, 1 overwrite, 2 skip.
struct OverwriteAnswer {
    int choice = 1;
    bool forAll = false;
};

// The questions a download worker needs answered. Called on the worker thread; each call
// blocks until the answer is known or the job is cancelled.
class DownloadQuestions {
public:
    virtual ~DownloadQuestions() = default;
    // On cancel-all: skip.
    virtual OverwriteAnswer askOverwrite(const QString& targetPath) = 0;
    // The save dialog proposing `proposedPath`; empty when cancelled (or on cancel-all).
    virtual QString askSavePath(const QString& proposedPath) = 0;
};

// Asks through `prompter` on the thread of `receiver` (a UI object) while the worker waits.
// The job's cancel-all releases the wait; a question whose worker gave up is never shown.
class PrompterQuestions : public DownloadQuestions {
public:
    PrompterQuestions(QObject* receiver, Prompter& prompter, const DownloadJob& job);

    OverwriteAnswer askOverwrite(const QString& targetPath) override;
    QString askSavePath(const QString& proposedPath) override;

    // The overwrite question as the user sees it: texts from DOWN_OVERWRITEMSG_WIN.
    static OptionQuestion overwriteQuestion(const DialogTextCopy& texts, const QString& targetPath);
    // The save dialog's filter: "Files (*.ext)" for a name with an extension, else all files.
    static QString saveFilter(const QString& proposedPath);

private:
    QObject* receiver_;
    Prompter* prompter_;
    const DownloadJob& job_;
};
