#pragma once

#include "RecordingEvents.h"
#include "common/SilentPrompter.h"
#include "panes/server/ServerListItemModel.h"
#include "panes/server/ServerPaneController.h"
#include "settings/ControlSettings.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"
#include "xml/UIConfig.h"

#include <QFile>
#include <QTemporaryDir>

namespace bench {

// The server pane without widgets over the catalogue `xml`, its tree built and its list
// model attached, as the benchmarks of pane operations start from.
struct ServerPane {
    explicit ServerPane(const QByteArray& xml) {
        const QString path = dir.filePath("catalogue.xml");
        QFile out(path);
        if (out.open(QIODevice::WriteOnly))
            out.write(xml);
        out.close();
        catalogue.LoadFile(path, prompter);
        journal.Create(prompter);
        controller.buildTree();
    }
    QTemporaryDir dir;
    SilentPrompter prompter;
    RecordingEvents events;
    ControlSettings settings;
    UIConfig uiConfig;
    ServerCatalogue catalogue;
    ChangeJournal journal;
    ServerPaneController controller{catalogue, journal, settings, uiConfig, prompter, events};
    ServerListItemModel model{controller.list()};
};

} // namespace bench
