#pragma once

#include "panes/server/QueuedUploads.h"

#include <QList>

class ServerCatalogue;
struct UploadRow;

// The upload rows of the catalogue's pending "local" entries, in document order, keeping
// only files in `queued`; `skipped` counts the entries left out.
QList<UploadRow> BuildUploadRows(const ServerCatalogue& catalogue, const QueuedUploads& queued,
                                 int& skipped);
