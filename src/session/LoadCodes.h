#pragma once

#include <QtGlobal>

// Completion codes of the document load besides those of the documents themselves.
inline constexpr qint16 kLoadTreeNotBuilt = -2005;
inline constexpr qint16 kLoadJournalNotCreated = -2006;
