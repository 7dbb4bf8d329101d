#include "control/WindowRegion.h"

#include <QPainterPath>
#include <QPolygon>
#include <QStringList>
#include <QWidget>

namespace {
constexpr int kRegionFields = 6;

int leadingInt(const QString& field) {
    const QString text = field.trimmed();
    int end = (text.startsWith('-') || text.startsWith('+')) ? 1 : 0;
    while (end < text.size() && text[end] >= QLatin1Char('0') && text[end] <= QLatin1Char('9'))
        ++end;
    return text.left(end).toInt();
}
} // namespace

std::optional<QRegion> ParseRoundRectRegion(const QString& text) {
    const QStringList fields = text.split(',');
    if (fields.size() != kRegionFields)
        return std::nullopt;
    int v[kRegionFields];
    for (int i = 0; i < kRegionFields; ++i)
        v[i] = leadingInt(fields[i]);
    const QRectF rect(QPointF(v[0], v[1]), QPointF(v[2], v[3]));
    QPainterPath path;
    path.addRoundedRect(rect.normalized(), v[4] / 2.0, v[5] / 2.0);
    return QRegion(path.toFillPolygon().toPolygon());
}

bool ApplyRoundRectRegion(QWidget* window, const QString& text) {
    const std::optional<QRegion> region = ParseRoundRectRegion(text);
    if (!window || !region)
        return false;
    window->setMask(*region);
    return true;
}
