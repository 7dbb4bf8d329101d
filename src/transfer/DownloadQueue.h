#pragma once

#include "transfer/DownloadJob.h"
#include "xml/XmlNode.h"

#include <QList>

// Turns catalogue elements into download rows. UI thread only, before the worker starts: the
// rows keep copies of the names, paths and sizes, never the elements.

// Queues `elements` in order: a FILE whose transtype is "server" becomes a file row, verified
// against its sha256 when it has one (other FILEs are left out); a FOLDER becomes a folder row
// followed by its contents, depth first, each below the folders it lies in. Names are shortened
// by `midChar` (ServerFileNameMidChar).
void QueueDownloadElements(DownloadJob& job, const QList<XmlNode>& elements,
                           const QString& midChar);
