#pragma once

// Private to the XML layer: the bridge between the public handles and the parser's types.
// Nothing outside src/xml includes this header.

#include "xml/XmlNode.h"

#include <QByteArray>
#include <QString>
#include <pugixml.hpp>

struct XmlNodeAccess {
    static pugi::xml_node toPugi(const XmlNode& node) {
        return pugi::xml_node(static_cast<pugi::xml_node_struct*>(node.node_));
    }
    static XmlNode fromPugi(pugi::xml_node node) { return XmlNode(node.internal_object()); }
};

inline QString FromPugi(const char* text) {
    return QString::fromUtf8(text);
}

// Visits every descendant of `root` in document order without recursion, so a deeply nested
// document cannot exhaust the stack.
template <typename Visit> void ForEachDescendant(pugi::xml_node root, Visit visit) {
    pugi::xml_node current = root.first_child();
    while (current) {
        visit(current);
        if (current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current != root && !current.next_sibling())
            current = current.parent();
        if (current == root)
            return;
        current = current.next_sibling();
    }
}
