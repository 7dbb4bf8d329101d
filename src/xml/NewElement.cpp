#include "xml/NewElement.h"

#include "common/Prompter.h"

XmlNode CreateElement(DocumentHolder& holder, const QString& tag, Prompter& prompter) {
    if (!holder.root()) {
        prompter.message(QString(), kNoDocumentMessage);
        return {};
    }
    XmlNode element = holder.document.createElement(tag);
    if (!element)
        prompter.message(QString(), QStringLiteral("<") + tag +
                                        QStringLiteral("> createElement를 할 수 없습니다."));
    return element;
}

bool SetNewAttributes(XmlNode& element, const QList<NewAttribute>& attributes,
                      const QString& prefix, Prompter& prompter) {
    for (const NewAttribute& attribute : attributes) {
        if (!element.setAttribute(attribute.name, attribute.value)) {
            prompter.message(QString(), prefix + QStringLiteral("attribute(") + attribute.label +
                                            QStringLiteral(") 를 생성 할 수 없습니다."));
            return false;
        }
    }
    return true;
}
