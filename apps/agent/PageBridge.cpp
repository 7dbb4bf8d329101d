#include "PageBridge.h"

#include "face/CMxVantrel2Ctrl.h"
#include "session/ControlSession.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <QSet>

PageBridge::PageBridge(CMxVantrel2Ctrl& ctrl, std::function<void()> start, QObject* parent)
    : QObject(parent), ctrl_(ctrl), start_(std::move(start)), face_(describeFace()) {}

void PageBridge::start() {
    if (const auto start = std::exchange(start_, nullptr))
        start();
}

QJsonArray PageBridge::serverListRows(const QString& serverPath, bool isChild, const QString& kind,
                                      const QStringList& dataNames) const {
    const ServerCatalogue& catalogue = ctrl_.session().catalogue();
    const bool files = kind == QStringLiteral("file");
    if (!files && kind != QStringLiteral("folder"))
        return {};
    const int count = files ? catalogue.GetServerListFileCount(serverPath, isChild)
                            : catalogue.GetServerListFolderCount(serverPath, isChild);
    QJsonArray rows;
    for (int i = 0; i < count; ++i) {
        QJsonArray row;
        for (const QString& name : dataNames)
            row.append(files ? catalogue.GetServerListFileItem(serverPath, isChild, name, i)
                             : catalogue.GetServerListFolderItem(serverPath, isChild, name, i));
        rows.append(row);
    }
    return rows;
}

QJsonObject PageBridge::describeFace() {
    const QMetaObject& meta = CMxVantrel2Ctrl::staticMetaObject;
    QJsonArray properties, readOnly, events;
    QJsonObject methods;
    QSet<int> changeSignals;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        properties.append(QString::fromLatin1(property.name()));
        if (!property.isWritable())
            readOnly.append(QString::fromLatin1(property.name()));
        changeSignals.insert(property.notifySignalIndex());
    }
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        if (method.methodType() == QMetaMethod::Method)
            methods.insert(QString::fromLatin1(method.name()), method.parameterCount());
        else if (method.methodType() == QMetaMethod::Signal && !changeSignals.contains(i))
            events.append(QString::fromLatin1(method.name()));
    }
    return {{"properties", properties},
            {"readOnly", readOnly},
            {"methods", methods},
            {"events", events}};
}
