#include "xml/XmlDocument.h"

#include "common/TextCodec.h"
#include "xml/DeclaredEncoding.h"
#include "xml/PugiAccess.h"
#include "xml/WellFormedCheck.h"

struct XmlDocument::Impl {
    pugi::xml_document document;
};

namespace {

using ParseStatus = XmlDocument::ParseStatus;

// Parses a whole document in UTF-8 once it has passed the strict check, which the parser
// alone would not apply.
bool ParseUtf8(pugi::xml_document& document, QByteArrayView utf8, EncodingLabel label) {
    if (!CheckWellFormed(utf8, label).isWellFormed())
        return false;
    return document.load_buffer(utf8.data(), static_cast<size_t>(utf8.size()), pugi::parse_default,
                                pugi::encoding_utf8);
}

// Decodes `bytes` from `iconvName` without replacing anything, then parses them.
bool ParseDecoded(pugi::xml_document& document, const QByteArray& bytes,
                  const QByteArray& iconvName) {
    QString text;
    return DecodeExactly(bytes, iconvName, &text) &&
           ParseUtf8(document, text.toUtf8(), EncodingLabel::Binding);
}

// Parses file bytes in the encoding their signature shows or their declaration names; without
// either they are UTF-8.
bool ParseFileBytes(pugi::xml_document& document, const QByteArray& bytes) {
    const UnicodeSignature signature = SignatureOf(bytes);
    if (signature.iconvName == "UTF-8")
        return ParseUtf8(document, QByteArrayView(bytes).sliced(signature.markLength),
                         EncodingLabel::Binding);
    if (!signature.iconvName.isEmpty())
        return ParseDecoded(document, bytes.sliced(signature.markLength), signature.iconvName);
    const QByteArray declared = DeclaredEncoding(bytes);
    if (declared.isEmpty() || IsUnicodeName(declared))
        return ParseUtf8(document, bytes, EncodingLabel::Binding);
    return ParseDecoded(document, bytes, IconvNameFor(declared));
}

// Whether an element of `document` lies more than `maxDepth` elements deep (the document
// element at depth 1); walked without recursion.
bool NestsDeeperThan(const pugi::xml_document& document, int maxDepth) {
    int depth = 0; // elements open above `node`
    pugi::xml_node node = document.first_child();
    while (node) {
        if (node.type() == pugi::node_element) {
            if (depth >= maxDepth)
                return true;
            if (node.first_child()) {
                ++depth;
                node = node.first_child();
                continue;
            }
        }
        while (!node.next_sibling()) {
            node = node.parent();
            if (node == document)
                return false;
            --depth;
        }
        node = node.next_sibling();
    }
    return false;
}

} // namespace

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(XmlDocument&&) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&&) noexcept = default;

template <typename Parse>
XmlDocument::ParseStatus XmlDocument::parseWith(Parse parse, int maxDepth) {
    std::unique_ptr<Impl> fresh;
    try {
        fresh = std::make_unique<Impl>();
    } catch (...) {
        return ParseStatus::CannotCreate;
    }
    try {
        if (!parse(fresh->document))
            return ParseStatus::NotWellFormed;
    } catch (...) {
        return ParseStatus::NotWellFormed;
    }
    if (maxDepth > kAnyDepth && NestsDeeperThan(fresh->document, maxDepth))
        return ParseStatus::TooDeep;
    impl_ = std::move(fresh);
    return ParseStatus::Parsed;
}

XmlDocument::ParseStatus XmlDocument::parseBytes(const QByteArray& bytes, int maxDepth) {
    return parseWith(
        [&bytes](pugi::xml_document& document) { return ParseFileBytes(document, bytes); },
        maxDepth);
}

XmlDocument::ParseStatus XmlDocument::parseText(const QString& text) {
    return parseWith(
        [&text](pugi::xml_document& document) {
            return ParseUtf8(document, text.toUtf8(), EncodingLabel::Ignored);
        },
        kAnyDepth);
}

bool XmlDocument::isEmpty() const {
    return !impl_;
}

XmlNode XmlDocument::root() const {
    return impl_ ? XmlNodeAccess::fromPugi(impl_->document.document_element()) : XmlNode();
}

XmlNode XmlDocument::createElement(const QString& tag) {
    if (!impl_ || tag.isEmpty())
        return {};
    try {
        // Parked after the document element until the caller places it.
        return XmlNodeAccess::fromPugi(impl_->document.append_child(tag.toUtf8().constData()));
    } catch (...) {
        return {};
    }
}
