#pragma once

#include "session/PagePathGate.h"

#include <QHash>
#include <QString>
#include <functional>

// What one page connection may do with local paths it names itself (see PagePathGate). The
// user is asked once per path and use; the answer, yes or no, holds for the rest of the
// connection. A trusted origin is never asked. An empty path names nothing and passes: the
// method then fails on its own as it would for any page.
class PageAccessPolicy : public PagePathGate {
public:
    // Shows `question` and answers whether the user allowed it; may run a nested event loop.
    using Asker = std::function<bool(const QString& question)>;

    PageAccessPolicy(QString origin, bool trusted, Asker ask);

    bool allows(PagePathUse use, const QString& path) override;

    // The question put to the user, naming the origin and the path.
    static QString question(const QString& origin, PagePathUse use, const QString& path);

private:
    QString origin_;
    bool trusted_;
    Asker ask_;
    QHash<QString, bool> answers_; // by use and path
};
