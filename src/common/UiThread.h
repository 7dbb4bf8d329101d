#pragma once

#include <QMetaObject>
#include <QObject>
#include <utility>

// The one way a worker's result reaches the UI thread: `work` runs later, on the thread of
// `receiver` (a UI object), from its event loop, and not at all once `receiver` is destroyed.
// Workers never fire events or touch documents themselves; the work they post does.
template <typename Work> void RunOnUiThread(QObject* receiver, Work&& work) {
    QMetaObject::invokeMethod(receiver, std::forward<Work>(work), Qt::QueuedConnection);
}
