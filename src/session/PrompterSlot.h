#pragma once

#include "common/Prompter.h"

// The one prompter every part of a session asks. It forwards to a target the host chooses
// before the control starts (real dialogs, or a page script's answers); from then on the
// target stays, so no question can be split between two prompters.
class PrompterSlot : public Prompter {
public:
    explicit PrompterSlot(Prompter& initial) : target_(&initial) {}

    // False once the slot is fixed; the target stays then.
    bool setTarget(Prompter& target);
    // Takes `target` only while no one has set one: windows offer their dialogs this way,
    // and a host's own choice, before or after, wins.
    void offerDefault(Prompter& target);
    void fix() { fixed_ = true; }

    void message(const QString& title, const QString& text) override;
    int ask(const QString& title, const QString& text, const QStringList& buttons,
            int defaultButton) override;
    QStringList openFiles(const QString& title, const QString& folder,
                          const QString& filter) override;
    QString chooseFolder(const QString& title, const QString& folder) override;
    OptionAnswer chooseOption(const OptionQuestion& question) override;
    QString saveFile(const QString& title, const QString& proposedPath,
                     const QString& filter) override;
    void showPage(const QString& title, const QString& htmlFile) override;

private:
    Prompter* target_;
    bool chosen_ = false;
    bool fixed_ = false;
};
