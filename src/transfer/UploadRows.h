#pragma once

#include "transfer/UploadJob.h"

#include <QList>

class ServerCatalogue;

// The upload rows of every queued file (a FILE entry whose transtype is "local") in the
// catalogue, in document order. Each row's name is the last step of its local path.
QList<UploadRow> CollectUploadRows(const ServerCatalogue& catalogue);
