// Any bytes through the document layer: the strict check, the decoders and the parser. A
// document that loads is walked, queried and written back, and what it writes must load again.
#include "xml/XmlDocument.h"

#include <QByteArray>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    XmlDocument document;
    if (document.parseBytes(bytes) != XmlDocument::ParseStatus::Parsed)
        return 0;
    const XmlNode root = document.root();
    root.descendants("*");
    root.selectAll("//FOLDER[@name]");
    root.text();
    XmlDocument again;
    if (again.parseText(root.xml()) != XmlDocument::ParseStatus::Parsed)
        std::abort();
    return 0;
}
