#include "transfer/widgets/OptionQuestionDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

OptionQuestionDialog::OptionQuestionDialog(const OptionQuestion& question, QWidget* parent)
    : UndismissableDialog(parent), answer_{question.defaultOption, false} {
    setWindowTitle(question.title);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(new QLabel(question.text, this), 1);
    layout->addLayout(top);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(question.label, this));
    auto* value = new QLineEdit(question.value, this);
    value->setReadOnly(true);
    nameRow->addWidget(value, 1);
    layout->addLayout(nameRow);

    auto* group = new QGroupBox(question.groupTitle, this);
    auto* groupLayout = new QVBoxLayout(group);
    for (int i = 0; i < question.options.size(); ++i) {
        auto* option = new QRadioButton(question.options[i], group);
        option->setChecked(i == question.defaultOption);
        options_.append(option);
        groupLayout->addWidget(option);
    }
    layout->addWidget(group);

    check_ = new QCheckBox(question.checkText, this);
    layout->addWidget(check_);

    auto* confirmButton = new QPushButton(question.confirmText, this);
    confirmButton->setAutoDefault(false);
    connect(confirmButton, &QPushButton::clicked, this, &OptionQuestionDialog::confirm);
    layout->addWidget(confirmButton, 0, Qt::AlignHCenter);
}

void OptionQuestionDialog::confirm() {
    for (int i = 0; i < options_.size(); ++i) {
        if (options_[i]->isChecked())
            answer_.option = i;
    }
    answer_.checked = check_->isChecked();
    allowClose();
    accept();
}
