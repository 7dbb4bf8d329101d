#pragma once

#include "xml/DocumentHolder.h"
#include "xml/XmlNode.h"

#include <QList>
#include <QString>
#include <utility>

class Prompter;

// Shown when a new element is asked of a holder with nothing loaded.
inline const QString kNoDocumentMessage = QStringLiteral("현재 document 가 없습니다.");

// One attribute to set on a new element: its name, its value, and the name its failure
// message uses (the name itself unless given).
struct NewAttribute {
    NewAttribute(QString name, QString value)
        : name(name), value(std::move(value)), label(std::move(name)) {}
    NewAttribute(QString name, QString value, QString label)
        : name(std::move(name)), value(std::move(value)), label(std::move(label)) {}

    QString name;
    QString value;
    QString label;
};

// A new element `tag` of the holder's document, not yet placed. Empty, after showing
// kNoDocumentMessage or "<tag> createElement를 할 수 없습니다.", when nothing is loaded or the
// element cannot be made.
XmlNode CreateElement(DocumentHolder& holder, const QString& tag, Prompter& prompter);

// Sets the attributes in order. On the first failure shows `prefix` followed by
// "attribute(<label>) 를 생성 할 수 없습니다." and returns false; the attributes set before stay.
bool SetNewAttributes(XmlNode& element, const QList<NewAttribute>& attributes,
                      const QString& prefix, Prompter& prompter);
