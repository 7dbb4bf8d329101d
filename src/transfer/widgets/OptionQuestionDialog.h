#pragma once

#include "common/Prompter.h"
#include "transfer/widgets/UndismissableDialog.h"

#include <QList>

class QCheckBox;
class QRadioButton;

// The window of an OptionQuestion: a message, a read-only value, radio options and a check
// box. It closes only through its confirm button: Esc, Enter and the close box do nothing.
class OptionQuestionDialog : public UndismissableDialog {
public:
    explicit OptionQuestionDialog(const OptionQuestion& question, QWidget* parent = nullptr);

    // The confirmed answer; the default option, unticked, until confirmed.
    OptionAnswer answer() const { return answer_; }

private:
    void confirm();

    QList<QRadioButton*> options_;
    QCheckBox* check_ = nullptr;
    OptionAnswer answer_;
};
