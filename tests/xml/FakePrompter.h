#pragma once

#include "common/Prompter.h"

#include <QStringList>

// Records every message instead of showing it; questions take their default answer.
class FakePrompter : public Prompter {
public:
    void message(const QString&, const QString& text) override { messages.append(text); }
    int ask(const QString&, const QString&, const QStringList&, int defaultButton) override {
        return defaultButton;
    }
    QStringList openFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void showPage(const QString&, const QString&) override {}

    QStringList messages;
};
