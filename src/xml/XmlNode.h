#pragma once

#include <QList>
#include <QString>

class XmlNodeList;

// A non-owning handle to one node of an XmlDocument. An empty handle answers every query
// harmlessly (empty string, 0, another empty handle) and its edits return false or an empty
// handle, so a chain of lookups never crashes and the caller checks once at the end. A handle
// stays valid until its node is removed or its document is replaced or destroyed.
class XmlNode {
public:
    XmlNode() = default;

    bool isNull() const { return node_ == nullptr; }
    explicit operator bool() const { return node_ != nullptr; }
    bool operator==(const XmlNode& other) const { return node_ == other.node_; }

    // The element name; empty for text nodes and empty handles.
    QString name() const;
    // The text of the node and all its descendants, concatenated in document order.
    QString text() const;
    // The node and its subtree as XML text, without declaration or indentation.
    QString xml() const;
    XmlNode parent() const;

    // Value of attribute `name`; empty when the attribute is absent.
    QString attribute(const QString& name) const;
    bool hasAttribute(const QString& name) const;
    // Sets attribute `name`, creating it (as the last attribute) when absent. False on an empty
    // handle, a non-element node or an empty name.
    bool setAttribute(const QString& name, const QString& value);

    // Number of child nodes of any kind, and the child at `index` (empty when out of range).
    // child(i) walks from the first child: to visit every child, walk the siblings instead.
    int childCount() const;
    XmlNode child(int index) const;
    // The first child node of any kind, and the node after this one; empty when none.
    XmlNode firstChild() const;
    XmlNode nextSibling() const;

    // First node matched by the XPath 1.0 expression evaluated from this node; empty when none
    // matches or the expression is not valid. Attribute results are not nodes and are skipped.
    XmlNode selectFirst(const QString& xpath) const;
    // Every node matched, in document order; empty when none or the expression is not valid.
    XmlNodeList selectAll(const QString& xpath) const;
    // Every descendant element named `tag` ("*" for all), in document order.
    XmlNodeList descendants(const QString& tag) const;

    // Appends `child` as the last child of this node, moving it from wherever it was in the
    // same document. Returns the child, or empty when the move is not possible (other
    // document, the child is this node or one of its ancestors).
    XmlNode appendChild(const XmlNode& child);
    // Inserts `child` before `before`, which must be a child of this node; an empty `before`
    // appends. Returns the child, or empty when not possible.
    XmlNode insertBefore(const XmlNode& child, const XmlNode& before);
    // Removes and destroys `child` with its subtree; handles to them become invalid. False
    // when `child` is not a child of this node.
    bool removeChild(const XmlNode& child);

private:
    friend struct XmlNodeAccess;
    explicit XmlNode(void* node) : node_(node) {}

    void* node_ = nullptr; // the parser's node record
};

// Nodes of a query result, in document order. `at` outside the range gives an empty handle.
class XmlNodeList {
public:
    XmlNodeList() = default;
    explicit XmlNodeList(QList<XmlNode> nodes) : nodes_(std::move(nodes)) {}

    int count() const { return static_cast<int>(nodes_.size()); }
    XmlNode at(int index) const {
        return index >= 0 && index < count() ? nodes_[index] : XmlNode();
    }
    QList<XmlNode>::const_iterator begin() const { return nodes_.begin(); }
    QList<XmlNode>::const_iterator end() const { return nodes_.end(); }

private:
    QList<XmlNode> nodes_;
};
