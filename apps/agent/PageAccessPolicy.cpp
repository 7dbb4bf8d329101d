#include "PageAccessPolicy.h"

PageAccessPolicy::PageAccessPolicy(QString origin, bool trusted, Asker ask)
    : origin_(std::move(origin)), trusted_(trusted), ask_(std::move(ask)) {}

bool PageAccessPolicy::allows(PagePathUse use, const QString& path) {
    if (trusted_ || path.isEmpty())
        return true;
    const QString key = QString::number(static_cast<int>(use)) + '\n' + path;
    const auto known = answers_.constFind(key);
    if (known != answers_.constEnd())
        return *known;
    const bool allowed = ask_ && ask_(question(origin_, use, path));
    answers_.insert(key, allowed);
    return allowed;
}

QString PageAccessPolicy::question(const QString& origin, PagePathUse use, const QString& path) {
    switch (use) {
    case PagePathUse::QueueForUpload:
        return QStringLiteral("Allow %1 to queue %2 for upload?").arg(origin, path);
    case PagePathUse::Delete:
        return QStringLiteral("Allow %1 to delete %2?").arg(origin, path);
    case PagePathUse::DownloadInto:
        return QStringLiteral("Allow %1 to save downloads into %2?").arg(origin, path);
    case PagePathUse::OpenFolder:
        return QStringLiteral("Allow %1 to open the folder %2?").arg(origin, path);
    }
    return {};
}
