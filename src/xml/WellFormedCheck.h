#pragma once

// Private to the XML layer and its tests and benchmarks: the strict reading a document's text
// must pass before the parser builds its tree. The parser underneath is lenient (it keeps unknown
// entity references as text, takes repeated attributes, control characters and text after the
// root), so every rule of a well-formed document that it does not enforce is enforced here, in one
// pass that takes time linear in the text and stack space independent of its depth.
//
// Entities are never expanded: the five predefined ones and character references are the only
// references allowed, and a DOCTYPE declaration may name an external DTD but not carry an
// internal subset, whose declarations would have to be applied to read the document right.

#include <QByteArrayView>
#include <QtGlobal>

// Where a text first breaks a rule of well-formed XML, or that it breaks none.
struct WellFormedness {
    qsizetype offset = -1;    // byte offset of the first fault in the checked text; -1 when none
    const char* problem = ""; // what is wrong there, in a few English words

    bool isWellFormed() const { return offset < 0; }
};

// What the encoding name in the XML declaration means for the checked text.
enum class EncodingLabel {
    Binding, // the bytes were decoded by that name: it must be a proper encoding name
    Ignored  // the text was never bytes (a text the program holds): any quoted value will do
};

// Checks `utf8`, a whole document in UTF-8 without byte-order mark: valid UTF-8 of XML
// characters, an optional XML declaration first, then comments, processing instructions, at
// most one DOCTYPE declaration, exactly one root element and after it nothing but comments,
// processing instructions and white space. Elements nest properly, names are XML names, no
// element repeats an attribute, and "<" and "&" appear only where markup allows them.
WellFormedness CheckWellFormed(QByteArrayView utf8, EncodingLabel label);
