#pragma once

#include "common/Prompter.h"

class QWidget;

// The prompter of a page shown in a window: real modal Qt dialogs over `parent`.
class WidgetPrompter : public Prompter {
public:
    explicit WidgetPrompter(QWidget* parent) : parent_(parent) {}

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

private:
    QWidget* parent_;
};
