#pragma once

#include "xml/XmlNode.h"

#include <QByteArray>
#include <QString>
#include <memory>

// The sole owner of one parsed document. Non-copyable, movable; destroying or replacing it
// invalidates every XmlNode taken from it. An empty document answers root() with an empty
// handle and creates nothing.
class XmlDocument {
public:
    enum class ParseStatus {
        Parsed,
        CannotCreate,  // no memory for the document object
        NotWellFormed, // not well-formed, no root element, unknown or undecodable encoding
        TooDeep        // well-formed, but elements nest deeper than the caller allows
    };

    // Passed as `maxDepth`: any nesting is taken.
    static constexpr int kAnyDepth = 0;

    XmlDocument();
    ~XmlDocument();
    XmlDocument(XmlDocument&&) noexcept;
    XmlDocument& operator=(XmlDocument&&) noexcept;
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Parses the bytes of a document file. The encoding named in the XML declaration is
    // honoured (EUC-KR, CP949, ...); a byte-order mark or UTF-16 text is recognised; without
    // either the bytes are UTF-8. Bytes invalid in that encoding are NotWellFormed, never
    // replaced, and so is anything a strict parser refuses: repeated attributes, references to
    // entities other than the predefined five, control characters, content after the root.
    // Entities are never expanded. With `maxDepth` above 0, a document whose elements nest
    // deeper than that (the root element is depth 1) is TooDeep. On failure the document is
    // left as it was.
    ParseStatus parseBytes(const QByteArray& bytes, int maxDepth = kAnyDepth);
    // Parses a text held by the program by the same rules; the encoding name in its
    // declaration is not read, since the text is already decoded. On failure the document is
    // left as it was.
    ParseStatus parseText(const QString& text);

    bool isEmpty() const;
    // The document element; empty when nothing is loaded.
    XmlNode root() const;
    // A new element named `tag`, not yet in the tree: append or insert it to place it. Empty
    // when nothing is loaded or `tag` is empty. Elements never placed are not part of xml().
    XmlNode createElement(const QString& tag);

private:
    struct Impl;
    template <typename Parse> ParseStatus parseWith(Parse parse, int maxDepth);

    std::unique_ptr<Impl> impl_;
};
