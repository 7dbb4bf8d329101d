#include "session/ScriptedPrompter.h"

ScriptedPrompter::ScriptedPrompter(LinePrinter print) : print_(std::move(print)) {}

void ScriptedPrompter::queueAnswer(const QString& kind, const QString& value) {
    answers_[kind].enqueue(value);
}

bool ScriptedPrompter::takeAnswer(const QString& kind, QString& answer) {
    auto found = answers_.find(kind);
    if (found == answers_.end() || found->isEmpty())
        return false;
    answer = found->dequeue();
    return true;
}

void ScriptedPrompter::message(const QString&, const QString& text) {
    print_(QStringLiteral("prompt: message: %1").arg(text));
    QString ignored;
    takeAnswer(QStringLiteral("message"), ignored);
}

int ScriptedPrompter::ask(const QString&, const QString& text, const QStringList& buttons,
                          int defaultButton) {
    print_(QStringLiteral("prompt: ask: %1 [%2]").arg(text, buttons.join('|')));
    QString answer;
    if (!takeAnswer(QStringLiteral("ask"), answer))
        return defaultButton;
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons[i].compare(answer, Qt::CaseInsensitive) == 0)
            return i;
    }
    bool isIndex = false;
    const int index = answer.toInt(&isIndex);
    return isIndex && index >= 0 && index < buttons.size() ? index : defaultButton;
}

QStringList ScriptedPrompter::openFiles(const QString& title, const QString&, const QString&) {
    print_(QStringLiteral("prompt: files: %1").arg(title));
    QString answer;
    if (!takeAnswer(QStringLiteral("files"), answer))
        return {};
    return answer.split('\n', Qt::SkipEmptyParts);
}

QString ScriptedPrompter::chooseFolder(const QString& title, const QString&) {
    print_(QStringLiteral("prompt: folder: %1").arg(title));
    QString answer;
    return takeAnswer(QStringLiteral("folder"), answer) ? answer : QString();
}

void ScriptedPrompter::showPage(const QString& title, const QString& htmlFile) {
    print_(QStringLiteral("prompt: page: %1: %2").arg(title, htmlFile));
    QString ignored;
    takeAnswer(QStringLiteral("page"), ignored);
}

OptionAnswer ScriptedPrompter::chooseOption(const OptionQuestion& question) {
    print_(QStringLiteral("prompt: option: %1 %2 [%3]")
               .arg(question.text, question.value, question.options.join('|')));
    QString answer;
    if (!takeAnswer(QStringLiteral("option"), answer))
        return {question.defaultOption, false};
    const QString checkSuffix = QStringLiteral("+check");
    const bool checked = answer.endsWith(checkSuffix, Qt::CaseInsensitive);
    if (checked)
        answer.chop(checkSuffix.size());
    for (int i = 0; i < question.options.size(); ++i) {
        if (question.options[i].compare(answer, Qt::CaseInsensitive) == 0)
            return {i, checked};
    }
    bool isIndex = false;
    const int index = answer.toInt(&isIndex);
    if (isIndex && index >= 0 && index < question.options.size())
        return {index, checked};
    return {question.defaultOption, checked};
}

QString ScriptedPrompter::saveFile(const QString& title, const QString& proposedPath,
                                   const QString&) {
    print_(QStringLiteral("prompt: save: %1: %2").arg(title, proposedPath));
    QString answer;
    return takeAnswer(QStringLiteral("save"), answer) ? answer : QString();
}

bool ScriptedPrompter::confirm(const QString& kind, const QString& text) {
    print_(QStringLiteral("prompt: %1: %2").arg(kind, text));
    QString answer;
    if (!takeAnswer(kind, answer))
        return false;
    return answer.compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0 ||
           answer.compare(QStringLiteral("allow"), Qt::CaseInsensitive) == 0;
}
