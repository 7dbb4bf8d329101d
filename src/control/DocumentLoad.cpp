#include "control/DocumentLoad.h"

#include "common/PaneAccess.h"
#include "control/ControlSettings.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"
#include "xml/UIConfig.h"

namespace {

// A pending drag-to-download names items of the document being replaced.
void forgetPendingDrag(ControlSettings& settings) {
    settings.dragTargetKind = -1;
    settings.dragTargetSubKind = -1;
    settings.dragTargetA.clear();
    settings.dragTargetB.clear();
}

} // namespace

qint16 RunDocumentLoad(DocumentLoadContext& c) {
    forgetPendingDrag(c.settings);
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
