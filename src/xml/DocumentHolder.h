#pragma once

#include "xml/XmlDocument.h"
#include "xml/XmlNode.h"

#include <QString>

class Prompter;

// One of the control's documents: the parsed document (its root is root()) and the temporary
// file a load is reading. A load replaces the document only when the new text parsed; the
// temporary file never outlives the load.
struct DocumentHolder {
    XmlDocument document;
    QString tempPath; // empty when no load is reading a file

    XmlNode root() const { return document.root(); }
};

// The texts a holder shows when its document cannot be created or does not parse.
struct LoadMessages {
    QString create;
    QString load;
};

inline const LoadMessages kUIConfigMessages{"[UIConfig] CreateInstance 에러",
                                            "[UIConfig] load에러"};
inline const LoadMessages kCatalogueMessages{"CreateInstance 에러", "load에러"};
// The catalogue's own default text, when there is no file to load.
inline const LoadMessages kCatalogueDefaultMessages{"CreateInstance 에러", "초기화 loadXML에러"};
inline const LoadMessages kJournalMessages{"(Up&Cancel) CreateInstance 에러",
                                           "(Up&Cancel) loadXML에러"};

// Documents larger than this are refused as not loadable rather than exhausting memory.
inline constexpr qint64 kMaxDocumentBytes = 256LL * 1024 * 1024;

enum class LoadOutcome {
    Loaded, // parsed; the holder has its new root
    NoText, // the file was missing or empty; nothing shown, the holder is unchanged
    Failed  // one message shown; the holder keeps its previous document
};

// Parses the file at `path` into `holder` and deletes the file, on every path. A missing or
// empty file is NoText and the calling document decides what that means. A document nested
// deeper than `maxDepth` (above 0) fails like one that does not parse.
LoadOutcome LoadFromFile(DocumentHolder& holder, const QString& path, const LoadMessages& messages,
                         Prompter& prompter, int maxDepth = XmlDocument::kAnyDepth);

// Parses `text` into `holder`. False, with the "load" message shown once, when it does not
// parse; the holder then keeps its previous document.
bool LoadFromText(DocumentHolder& holder, const QString& text, const LoadMessages& messages,
                  Prompter& prompter);

// The root element as XML text without declaration; empty when nothing is loaded.
QString DocumentText(const DocumentHolder& holder);
