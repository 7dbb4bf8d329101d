#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QStringList>
#include <functional>

class CMxVantrel2Ctrl;

// The page client's own object on the channel, published beside the face: what the face is
// made of, the start of the control, and one batch query the face lacks.
class PageBridge : public QObject {
    Q_OBJECT
    // {"properties": [names], "readOnly": [names], "methods": {name: parameter count},
    //  "events": [names]}: exactly the face's scripting names, in their order.
    Q_PROPERTY(QJsonObject face READ face CONSTANT)
public:
    // `start` shows the control; it runs once, on the page's first start().
    PageBridge(CMxVantrel2Ctrl& ctrl, std::function<void()> start, QObject* parent = nullptr);

    QJsonObject face() const { return face_; }

    // The page has attached its event handlers: the control is shown and its start-up
    // document load begins. Later calls do nothing.
    Q_INVOKABLE void start();

    // The catalogue entries of `kind` ("file" or "folder") in the server folder `serverPath`
    // (all below it when `isChild`), one array per entry with the fields `dataNames` in order,
    // each as GetServerListFileItem or GetServerListFolderItem answers it. Empty for a missing
    // folder or another kind.
    Q_INVOKABLE QJsonArray serverListRows(const QString& serverPath, bool isChild,
                                          const QString& kind, const QStringList& dataNames) const;

    // The description `face` publishes, read from the face's own meta-object: its change
    // signals are not events.
    static QJsonObject describeFace();

private:
    CMxVantrel2Ctrl& ctrl_;
    std::function<void()> start_;
    QJsonObject face_;
};
