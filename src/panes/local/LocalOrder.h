#pragma once

#include "panes/local/LocalNamespace.h"

#include <vector>

// Sorts as a person expects: folders before files, then names in natural order (letter case
// ignored, digit runs compared as numbers: "file2" before "file10").
// <0, 0 or >0 as `a` sorts before, with or after `b` in that order.
int NaturalCompare(const QString& a, const QString& b);
void SortLocalEntries(std::vector<LocalEntry>& entries);
