#include "xml/XmlNode.h"

#include "xml/PugiAccess.h"

#include <string>

namespace {

pugi::xml_node Raw(const XmlNode& node) {
    return XmlNodeAccess::toPugi(node);
}
XmlNode Wrap(pugi::xml_node node) {
    return XmlNodeAccess::fromPugi(node);
}

bool IsText(pugi::xml_node node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override {
        out.append(static_cast<const char*>(data), size);
    }
};

// Runs an XPath query; any parser error or exception is an empty result.
pugi::xpath_node_set Evaluate(pugi::xml_node context, const QString& xpath) {
    if (!context || xpath.isEmpty())
        return {};
    try {
        const pugi::xpath_query query(xpath.toUtf8().constData());
        if (!query || query.return_type() != pugi::xpath_type_node_set)
            return {};
        pugi::xpath_node_set result = query.evaluate_node_set(context);
        result.sort();
        return result;
    } catch (...) {
        return {};
    }
}

} // namespace

QString XmlNode::name() const {
    return FromPugi(Raw(*this).name());
}

QString XmlNode::text() const {
    const pugi::xml_node node = Raw(*this);
    if (IsText(node))
        return FromPugi(node.value());
    QByteArray text;
    ForEachDescendant(node, [&text](pugi::xml_node item) {
        if (IsText(item))
            text += item.value();
    });
    return QString::fromUtf8(text);
}

QString XmlNode::xml() const {
    if (isNull())
        return {};
    try {
        StringWriter writer;
        Raw(*this).print(writer, "", pugi::format_raw, pugi::encoding_utf8);
        return QString::fromStdString(writer.out);
    } catch (...) {
        return {};
    }
}

XmlNode XmlNode::parent() const {
    const pugi::xml_node up = Raw(*this).parent();
    return up.type() == pugi::node_document ? XmlNode() : Wrap(up);
}

QString XmlNode::attribute(const QString& name) const {
    return FromPugi(Raw(*this).attribute(name.toUtf8().constData()).value());
}

bool XmlNode::hasAttribute(const QString& name) const {
    return static_cast<bool>(Raw(*this).attribute(name.toUtf8().constData()));
}

bool XmlNode::setAttribute(const QString& name, const QString& value) {
    pugi::xml_node node = Raw(*this);
    if (node.type() != pugi::node_element || name.isEmpty())
        return false;
    try {
        const QByteArray key = name.toUtf8();
        pugi::xml_attribute attr = node.attribute(key.constData());
        if (!attr)
            attr = node.append_attribute(key.constData());
        return attr && attr.set_value(value.toUtf8().constData());
    } catch (...) {
        return false;
    }
}

int XmlNode::childCount() const {
    int count = 0;
    for (pugi::xml_node child = Raw(*this).first_child(); child; child = child.next_sibling())
        ++count;
    return count;
}

XmlNode XmlNode::child(int index) const {
    if (index < 0)
        return {};
    pugi::xml_node child = Raw(*this).first_child();
    for (; child && index > 0; --index)
        child = child.next_sibling();
    return Wrap(child);
}

XmlNode XmlNode::firstChild() const {
    return Wrap(Raw(*this).first_child());
}

XmlNode XmlNode::nextSibling() const {
    return Wrap(Raw(*this).next_sibling());
}

XmlNode XmlNode::selectFirst(const QString& xpath) const {
    for (const pugi::xpath_node& found : Evaluate(Raw(*this), xpath)) {
        if (found.node())
            return Wrap(found.node());
    }
    return {};
}

XmlNodeList XmlNode::selectAll(const QString& xpath) const {
    QList<XmlNode> nodes;
    for (const pugi::xpath_node& found : Evaluate(Raw(*this), xpath)) {
        if (found.node())
            nodes.append(Wrap(found.node()));
    }
    return XmlNodeList(std::move(nodes));
}

XmlNodeList XmlNode::descendants(const QString& tag) const {
    const QByteArray wanted = tag.toUtf8();
    const bool any = tag == QLatin1String("*");
    QList<XmlNode> nodes;
    ForEachDescendant(Raw(*this), [&](pugi::xml_node item) {
        if (item.type() == pugi::node_element && (any || wanted == item.name()))
            nodes.append(Wrap(item));
    });
    return XmlNodeList(std::move(nodes));
}

XmlNode XmlNode::appendChild(const XmlNode& child) {
    if (isNull() || child.isNull())
        return {};
    return Wrap(Raw(*this).append_move(Raw(child)));
}

XmlNode XmlNode::insertBefore(const XmlNode& child, const XmlNode& before) {
    if (before.isNull())
        return appendChild(child);
    if (isNull() || child.isNull())
        return {};
    return Wrap(Raw(*this).insert_move_before(Raw(child), Raw(before)));
}

bool XmlNode::removeChild(const XmlNode& child) {
    if (isNull() || child.isNull() || Raw(child).parent() != Raw(*this))
        return false;
    return Raw(*this).remove_child(Raw(child));
}
