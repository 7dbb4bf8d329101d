#include "WindowShots.h"

#include <QApplication>
#include <QEvent>
#include <QRegularExpression>
#include <QWidget>

WindowShots::WindowShots(const QString& folder, QWidget& control)
    : QObject(&control), folder_(folder), control_(control) {
    folder_.mkpath(QStringLiteral("."));
    qApp->installEventFilter(this);
}

bool WindowShots::eventFilter(QObject* watched, QEvent* event) {
    auto* window = event->type() == QEvent::Hide ? qobject_cast<QWidget*>(watched) : nullptr;
    if (window && window->isWindow() && window != &control_) {
        QString title = window->windowTitle();
        title.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|\\s]+")),
                      QStringLiteral("_"));
        const QString name = QStringLiteral("%1-%2.png")
                                 .arg(++saved_, 2, 10, QLatin1Char('0'))
                                 .arg(title.isEmpty() ? QStringLiteral("window") : title);
        window->grab().save(folder_.filePath(name), "PNG");
    }
    return QObject::eventFilter(watched, event);
}
