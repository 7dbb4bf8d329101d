#include "control/DocumentLoad.h"

#include "common/PaneAccess.h"
#include "control/ControlSettings.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"
#include "xml/UIConfig.h"

qint16 RunDocumentLoad(DocumentLoadContext& c) {
    c.settings.forgetPendingDrag();
    const UIConfigLoadResult ui = c.uiConfig.FetchAndLoad(c.settings, c.prompter);
    if (!ui.continueLoad)
        return ui.code;
    if (c.serverPane) {
        c.serverPane->applyConfiguration();
        c.serverPane->clear();
    }
    const qint16 catalogueCode = c.catalogue.Load(c.settings, c.prompter);
    if (catalogueCode != kCatalogueLoaded)
        return catalogueCode;
    if (c.serverPane && !c.serverPane->buildTree())
        return kLoadTreeNotBuilt;
    if (!c.journal.Create(c.prompter))
        return kLoadJournalNotCreated;
    if (c.serverPane)
        c.serverPane->selectFirstFolder();
    return 0;
}
