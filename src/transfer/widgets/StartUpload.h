#pragma once

#include "transfer/UploadJob.h"

#include <QList>
#include <QString>
#include <functional>

class ChangeJournal;
class Prompter;
class QWidget;
class ServerCatalogue;
class UIConfig;
struct ControlSettings;

// What an upload needs of the control. UI thread only.
struct UploadContext {
    ControlSettings& settings;
    ServerCatalogue& catalogue;
    ChangeJournal& journal;
    const UIConfig& uiConfig;
    Prompter& prompter;
    QWidget* parent = nullptr;
};

// The list-building step: fills `rows` with the queued files and returns 0, -97 when the list
// could not be built or -99 when the user stopped it. Without one, the rows are every pending
// "local" FILE entry of the catalogue (CollectUploadRows).
using UploadRowSource = std::function<qint16(QList<UploadRow>& rows)>;

// Uploads the queued files to the server script `postFile` (empty: UploadPOSTFile) in the
// modal upload window, then journals the accepted files and, on full success, turns their
// catalogue entries into server files. The result goes into the settings' error triple and
// is returned. Without any script path, "POST파일이 없습니다." is shown and 0 returned.
// The caller refreshes the server pane afterwards.
short StartUpload(const UploadContext& context, const QString& postFile,
                  const UploadRowSource& rowSource = {});
