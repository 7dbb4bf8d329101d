#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// What the control does with a key press that reaches it.
struct ControlKeyAction {
    enum Kind {
        Normal,   // the key takes its ordinary way
        ToPane,   // the focused pane gets the key as it came
        NextPane, // the focus moves on in the tab cycle
        Report,   // OnFunctionKeyPress(name) fires and the key is consumed
    };
    Kind kind = Normal;
    QString name;
};

// Maps a Qt key and its modifiers. While an in-place edit box is open every key goes its
// ordinary way (to the edit box), so nothing is reported. F10 is not handled.
ControlKeyAction MapControlKey(int key, Qt::KeyboardModifiers modifiers, bool editOpen);

// The pane after `current` in the cycle server tree (1) -> server list (2) -> local tree (3)
// -> local list (4) -> server tree, skipping panes not shown in the current layout
// (`shown[0]` is the server tree). 0 starts at the server tree; `current` stays when no
// pane is shown.
qint16 NextFocusPane(qint16 current, const std::array<bool, 4>& shown);
