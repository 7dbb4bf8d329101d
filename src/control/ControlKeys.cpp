#include "control/ControlKeys.h"

namespace {

QString ctrlKeyName(int key) {
    switch (key) {
    case Qt::Key_A:
    case Qt::Key_C:
    case Qt::Key_F:
    case Qt::Key_N:
    case Qt::Key_S:
    case Qt::Key_V:
    case Qt::Key_X:
        return QStringLiteral("CTRL_") + QChar(key);
    default:
        return {};
    }
}

bool goesToPane(int key) {
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

QString reportedKeyName(int key) {
    if (key == Qt::Key_Delete)
        return QStringLiteral("DELETE");
    if ((key >= Qt::Key_F2 && key <= Qt::Key_F9) || key == Qt::Key_F11 || key == Qt::Key_F12)
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    return {};
}

} // namespace

ControlKeyAction MapControlKey(int key, Qt::KeyboardModifiers modifiers, bool editOpen) {
    if (editOpen)
        return {};
    if (modifiers & Qt::ControlModifier) {
        const QString name = ctrlKeyName(key);
        if (!name.isEmpty())
            return {ControlKeyAction::Report, name};
    }
    if (goesToPane(key))
        return {ControlKeyAction::ToPane, {}};
    // Shift+Tab arrives as Backtab; the cycle has one direction only.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return {ControlKeyAction::NextPane, {}};
    const QString name = reportedKeyName(key);
    if (!name.isEmpty())
        return {ControlKeyAction::Report, name};
    return {};
}

qint16 NextFocusPane(qint16 current, const std::array<bool, 4>& shown) {
    const int start = current >= 1 && current <= 4 ? current : 4;
    for (int step = 1; step <= 4; ++step) {
        const int candidate = (start - 1 + step) % 4 + 1;
        if (shown[candidate - 1])
            return static_cast<qint16>(candidate);
    }
    return current;
}
