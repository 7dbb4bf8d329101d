#pragma once

#include "common/Prompter.h"

#include <QMap>
#include <QQueue>
#include <functional>

// The prompter of an offscreen page: each prompt prints one line "prompt: KIND: TEXT" and
// takes the next answer the page queued for that kind, or else its default.
// Kinds: "message", "ask", "files", "folder", "page", "option", "save".
class ScriptedPrompter : public Prompter {
public:
    using LinePrinter = std::function<void(const QString&)>;
    explicit ScriptedPrompter(LinePrinter print);

    // An "ask" answer is a button's text (any letter case) or its index; a "files" answer
    // lists paths separated by newlines; "message" and "page" answers are only consumed; an
    // "option" answer is an option's text or index, followed by "+check" to tick the box.
    void queueAnswer(const QString& kind, const QString& value);

    void message(const QString& title, const QString& text) override;
    int ask(const QString& title, const QString& text, const QStringList& buttons,
            int defaultButton) override;
    QStringList openFiles(const QString& title, const QString& folder,
                          const QString& filter) override;
    QString chooseFolder(const QString& title, const QString& folder) override;
    void showPage(const QString& title, const QString& htmlFile) override;
    OptionAnswer chooseOption(const OptionQuestion& question) override;
    QString saveFile(const QString& title, const QString& proposedPath,
                     const QString& filter) override;

    // A yes-or-no question of a kind the host asks itself: prints "prompt: KIND: TEXT" and is
    // true only when the next queued answer of `kind` is "yes" or "allow" (any letter case).
    bool confirm(const QString& kind, const QString& text);

private:
    // The next queued answer of `kind`; false when none is queued.
    bool takeAnswer(const QString& kind, QString& answer);

    LinePrinter print_;
    QMap<QString, QQueue<QString>> answers_;
};
