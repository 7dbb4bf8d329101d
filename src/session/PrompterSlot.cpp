#include "session/PrompterSlot.h"

bool PrompterSlot::setTarget(Prompter& target) {
    if (fixed_)
        return false;
    target_ = &target;
    chosen_ = true;
    return true;
}

void PrompterSlot::offerDefault(Prompter& target) {
    if (!fixed_ && !chosen_)
        target_ = &target;
}

void PrompterSlot::message(const QString& title, const QString& text) {
    target_->message(title, text);
}

int PrompterSlot::ask(const QString& title, const QString& text, const QStringList& buttons,
                      int defaultButton) {
    return target_->ask(title, text, buttons, defaultButton);
}

QStringList PrompterSlot::openFiles(const QString& title, const QString& folder,
                                    const QString& filter) {
    return target_->openFiles(title, folder, filter);
}

QString PrompterSlot::chooseFolder(const QString& title, const QString& folder) {
    return target_->chooseFolder(title, folder);
}

OptionAnswer PrompterSlot::chooseOption(const OptionQuestion& question) {
    return target_->chooseOption(question);
}

QString PrompterSlot::saveFile(const QString& title, const QString& proposedPath,
                               const QString& filter) {
    return target_->saveFile(title, proposedPath, filter);
}

void PrompterSlot::showPage(const QString& title, const QString& htmlFile) {
    target_->showPage(title, htmlFile);
}
