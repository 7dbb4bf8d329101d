#include "xml/XmlDocument.h"

#include "common/TextCodec.h"
#include "xml/DeclaredEncoding.h"
#include "xml/PugiAccess.h"

struct XmlDocument::Impl {
    pugi::xml_document document;
};

namespace {

using ParseStatus = XmlDocument::ParseStatus;

// Well-formed here also means exactly one element at the top, as a DOM parser demands.
bool HasSingleRoot(const pugi::xml_document& document) {
    int elements = 0;
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_element)
            ++elements;
    }
    return elements == 1;
}

bool ParseInto(pugi::xml_document& document, const QByteArray& bytes, pugi::xml_encoding encoding) {
    const pugi::xml_parse_result result = document.load_buffer(
        bytes.constData(), static_cast<size_t>(bytes.size()), pugi::parse_default, encoding);
    return result && HasSingleRoot(document);
}

// Parses file bytes in the encoding they declare.
bool ParseFileBytes(pugi::xml_document& document, const QByteArray& bytes) {
    if (HasUnicodeSignature(bytes))
        return ParseInto(document, bytes, pugi::encoding_auto);
    const QByteArray declared = DeclaredEncoding(bytes);
    if (declared.isEmpty() || IsUnicodeName(declared))
        return ParseInto(document, bytes, pugi::encoding_utf8);
    bool known = false;
    const QString text = DecodeWith(bytes, IconvNameFor(declared), &known);
    return known && ParseInto(document, text.toUtf8(), pugi::encoding_utf8);
}

} // namespace

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(XmlDocument&&) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&&) noexcept = default;

template <typename Parse> XmlDocument::ParseStatus XmlDocument::parseWith(Parse parse) {
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
    impl_ = std::move(fresh);
    return ParseStatus::Parsed;
}

XmlDocument::ParseStatus XmlDocument::parseBytes(const QByteArray& bytes) {
    return parseWith(
        [&bytes](pugi::xml_document& document) { return ParseFileBytes(document, bytes); });
}

XmlDocument::ParseStatus XmlDocument::parseText(const QString& text) {
    return parseWith([&text](pugi::xml_document& document) {
        return ParseInto(document, text.toUtf8(), pugi::encoding_utf8);
    });
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
