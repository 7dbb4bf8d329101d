#pragma once

// Codes of the adding operation (a local file queued for upload) and of its duplicate test.
namespace AddCode {
inline constexpr short Accepted = 0;
inline constexpr short Unreadable = -1000;       // not a regular file, or its name is not text
inline constexpr short NameTaken = -1001;        // a folder, or a file that may not be replaced
inline constexpr short Excluded = -1003;         // exceptionExt
inline constexpr short NotPermitted = -1004;     // OnlyExt
inline constexpr short NotAFolder = -1006;       // FolderAttach was given something else
inline constexpr short TooLarge = -1007;         // OneFileLimitsize
inline constexpr short NoSpace = -1008;          // DiskFreeSize; ends a batch
inline constexpr short AlreadyQueued = -1009;    // a queued local file of that name
inline constexpr short SameFile = -1010;         // this very file is queued
inline constexpr short LinkOutside = -1011;      // a folder scan met a link to a file outside it
inline constexpr short FolderUnreadable = -1012; // a folder scan could not list this folder
inline constexpr short DeclinedOverwrite = -1013;
// Ends a batch: the overwrite question was cancelled, or the catalogue was replaced while
// the batch waited for the page or the user.
inline constexpr short CancelledBatch = -1014;
inline constexpr short NotAllowed = -1015; // the user did not let the page queue this path
inline constexpr short Replaced = -1099;   // an entry of that name was (or may be) replaced
} // namespace AddCode

// The two codes that end a whole batch; every other refusal only skips the one file.
inline bool EndsBatch(short code) {
    return code == AddCode::NoSpace || code == AddCode::CancelledBatch;
}

// Codes of AddServerFile (a server file added to the shown folder on script's word).
namespace ServerFileCode {
inline constexpr short Added = 0;
inline constexpr short NoPath = -1;
inline constexpr short NoName = -2;
inline constexpr short BadSize = -3;   // below one byte
inline constexpr short NameTaken = -4; // an entry of that name is in the folder
inline constexpr short SameFile = -5;  // an entry with this very path is in the folder
inline constexpr short NoSpace = -6;   // DiskFreeSize
inline constexpr short NotAdded = -7;  // no folder selected, or the element could not be made
} // namespace ServerFileCode
