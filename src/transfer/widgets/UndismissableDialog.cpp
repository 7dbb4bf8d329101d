#include "transfer/widgets/UndismissableDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

void UndismissableDialog::closeEvent(QCloseEvent* event) {
    if (closeAllowed_)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void UndismissableDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->ignore();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
