#pragma once

#include <QString>
#include <QtGlobal>

class Prompter;
class UIConfig;

// Answers of the question whether a queued file replaces a server entry of the same name.
namespace UploadOverwriteAnswer {
inline constexpr short Yes = 1;      // replace this entry
inline constexpr short YesToAll = 2; // replace it and every later conflict of the batch
inline constexpr short No = 3;       // keep the entry, leave this file out
inline constexpr short Cancel = 4;   // stop queueing the rest of the batch
} // namespace UploadOverwriteAnswer

// The sizes and dates of both files, as the panes show them.
struct UploadOverwriteQuestion {
    QString fileName;
    QString oldSize, oldDate; // the existing server entry
    QString newSize, newDate; // the local file
};

// Asks through `prompter` with the texts of the UP_OVERWRITEMSG_WIN section. Only a button
// answers 1 to 3; any other way of closing the question answers 4 (cancel).
short askUploadOverwrite(Prompter& prompter, const UIConfig& uiConfig,
                         const UploadOverwriteQuestion& question);
