#pragma once

#include "common/Prompter.h"

#include <QQueue>
#include <QStringList>

// Records messages and questions; each question takes the next queued answer (a button index,
// or -1 for closing the question without a button), else its default.
class AnsweringPrompter : public Prompter {
public:
    void message(const QString&, const QString& text) override { messages.append(text); }
    int ask(const QString& title, const QString& text, const QStringList& buttons,
            int defaultButton) override {
        askedTitle = title;
        askedText = text;
        askedButtons = buttons;
        if (answers.isEmpty())
            return defaultButton;
        const int answer = answers.dequeue();
        return answer < 0 ? defaultButton : answer;
    }
    QStringList openFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void showPage(const QString&, const QString&) override {}

    QQueue<int> answers;
    QStringList messages;
    QString askedTitle, askedText;
    QStringList askedButtons;
};
