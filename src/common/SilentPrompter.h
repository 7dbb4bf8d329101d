#pragma once

#include "common/Prompter.h"

// Shows nothing and answers every question with its default, for runs that expect no prompt.
class SilentPrompter : public Prompter {
public:
    void message(const QString&, const QString&) override {}
    int ask(const QString&, const QString&, const QStringList&, int defaultButton) override {
        return defaultButton;
    }
    QStringList openFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void showPage(const QString&, const QString&) override {}
};
