#include "panes/local/QueuedUploadRows.h"

#include "transfer/UploadRows.h"

QList<UploadRow> BuildUploadRows(const ServerCatalogue& catalogue, const QueuedUploads& queued,
                                 int& skipped) {
    QList<UploadRow> rows;
    skipped = 0;
    for (UploadRow& row : CollectUploadRows(catalogue)) {
        if (queued.contains(row.localPath))
            rows.append(std::move(row));
        else
            ++skipped;
    }
    return rows;
}
