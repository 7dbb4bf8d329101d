#pragma once

// How an in-place rename ended: the argument of OnRenameCompleat.
namespace RenameCode {
inline constexpr short Renamed = 0;          // renamed, or the name stayed as it was
inline constexpr short EmptyName = -400;     // empty, also once its outer dots are stripped
inline constexpr short BadCharacter = -401;  // \ / : * ? " < > | or a control character
inline constexpr short NameTaken = -402;     // another item of the same folder has that name
inline constexpr short TooLong = -403;       // longer than kMaxNameLength or the disk allows
inline constexpr short NotRenameable = -404; // a tree's top, "..", a virtual item, no such row
inline constexpr short Refused = -405;       // the catalogue or the change journal refused it
inline constexpr short NotOnDisk = -406;     // the local item is gone or the PC refused it

// The longest name a rename gives, in UTF-16 code units.
inline constexpr int kMaxNameLength = 256;

// After these the label editor opens again on the same item, so the user can correct the name.
inline bool ReopensEditor(short code) {
    return code == BadCharacter || code == NameTaken || code == TooLong || code == Refused;
}
} // namespace RenameCode

// A rename's code, and whether anything changed (false when refused or left as it was).
struct RenameOutcome {
    short code = RenameCode::Renamed;
    bool changed = false;
};
