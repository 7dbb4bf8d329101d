#pragma once

#include <QtGlobal>

class ChangeJournal;
class Prompter;
class ServerCatalogue;
class ServerPaneLoading;
class UIConfig;
struct ControlSettings;

// Completion codes of the load besides those of the documents themselves.
inline constexpr qint16 kLoadTreeNotBuilt = -2005;
inline constexpr qint16 kLoadJournalNotCreated = -2006;

// The documents one load reads and replaces, and who it asks.
struct DocumentLoadContext {
    ControlSettings& settings;
    UIConfig& uiConfig;
    ServerCatalogue& catalogue;
    ChangeJournal& journal;
    Prompter& prompter;
    ServerPaneLoading* serverPane; // null while the server pane is not built
};

// The document load, in order: the UI configuration, the server catalogue, the server tree,
// a fresh change journal, the first folder. Returns the completion code for
// OnXMLLoadCompleat: 0, or the code of the first step that failed (later steps do not run).
qint16 RunDocumentLoad(DocumentLoadContext& context);
