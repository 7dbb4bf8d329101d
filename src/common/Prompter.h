#pragma once

#include <QString>
#include <QStringList>

// A choice among options with a check box, in a window that closes only by confirming.
struct OptionQuestion {
    QString title;
    QString text;        // the message above
    QString label;       // shown before `value`
    QString value;       // read-only (a file name)
    QString groupTitle;  // around the options
    QStringList options; // one radio button each
    int defaultOption = 0;
    QString checkText;   // the check box, unticked at first
    QString confirmText; // the one button
};

struct OptionAnswer {
    int option = 0;
    bool checked = false;
};

// Every modal question to the user goes through one Prompter, so the host can show real
// dialogs in a window and answer them from page script when offscreen. Called on the UI
// thread only; a worker that needs an answer asks the UI thread to call it.
class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box with an OK button.
    virtual void message(const QString& title, const QString& text) = 0;
    // A question with the given buttons; returns the index of the button chosen, or
    // `defaultButton` when the prompt is dismissed.
    virtual int ask(const QString& title, const QString& text, const QStringList& buttons,
                    int defaultButton) = 0;
    // Open-file dialog; returns the chosen files, empty when cancelled. `filter` is in Qt's
    // "Description (*.a *.b);;..." form.
    virtual QStringList openFiles(const QString& title, const QString& folder,
                                  const QString& filter) = 0;
    // Folder browser; returns the chosen folder, empty when cancelled.
    virtual QString chooseFolder(const QString& title, const QString& folder) = 0;
    // Asks `question`; any way of closing but the confirm button keeps the default option,
    // unticked. The base answers that default.
    virtual OptionAnswer chooseOption(const OptionQuestion& question) {
        return {question.defaultOption, false};
    }
    // Save-file dialog proposing `proposedPath`, confirming overwrites; returns the chosen
    // path, empty when cancelled (as the base does). `filter` as in openFiles.
    virtual QString saveFile(const QString& title, const QString& proposedPath,
                             const QString& filter) {
        Q_UNUSED(title);
        Q_UNUSED(proposedPath);
        Q_UNUSED(filter);
        return {};
    }
    // Shows a local HTML file read-only (no script, nothing fetched) until the user closes it.
    virtual void showPage(const QString& title, const QString& htmlFile) = 0;
};
