#include "panes/list/ListHeader.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QTimer>

namespace {
// The header looks for the item under the cursor this often while the mouse is over it.
constexpr int kHoverTickMs = 10;
const QColor kDefaultBackground(0xEF, 0xEF, 0xEF);
// Room kept right of the title for the sort arrow.
constexpr int kArrowMargin = 6;

// The border: the first background slot with its lightness cut to 80 %.
QColor borderColor(const QColor& base) {
    const QColor hsl = base.toHsl();
    return QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), hsl.lightness() * 80 / 100);
}

void drawSortArrow(QPainter* painter, const QRect& rect, bool ascending, const QPalette& palette) {
    const int size = std::max(4, rect.height() / 4);
    const int right = rect.right() - kArrowMargin;
    const int left = right - size;
    const int middle = (left + right) / 2;
    const int top = rect.center().y() - size / 2;
    const int bottom = top + size;
    const QPoint apex(middle, ascending ? top : bottom);
    const QPoint baseLeft(left, ascending ? bottom : top);
    const QPoint baseRight(right, ascending ? bottom : top);
    painter->setPen(palette.color(QPalette::Dark));
    painter->drawLine(apex, baseLeft);
    painter->setPen(palette.color(QPalette::Light));
    painter->drawLine(apex, baseRight);
    painter->drawLine(baseLeft, baseRight);
}
} // namespace

ListHeader::ListHeader(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), hoverTimer_(new QTimer(this)) {
    for (QColor& color : background_)
        color = kDefaultBackground;
    for (QColor& color : text_)
        color = Qt::black;
    setSectionsClickable(true);
    setSortIndicatorShown(false);
    setHighlightSections(false);
    setMouseTracking(true);
    hoverTimer_->setInterval(kHoverTickMs);
    connect(hoverTimer_, &QTimer::timeout, this, &ListHeader::trackHover);
}

void ListHeader::setBackgroundSlot(int slot, const QColor& color) {
    if (slot >= 1 && slot <= 4)
        background_[slot - 1] = color;
}

void ListHeader::setTextSlot(int slot, const QColor& color) {
    if (slot >= 1 && slot <= 3)
        text_[slot - 1] = color;
}

QColor ListHeader::backgroundSlot(int slot) const {
    return slot >= 1 && slot <= 4 ? background_[slot - 1] : QColor();
}

QColor ListHeader::textSlot(int slot) const {
    return slot >= 1 && slot <= 3 ? text_[slot - 1] : QColor();
}

void ListHeader::setColors(const QColor& background, const QColor& text) {
    for (int slot = 1; slot <= 4; ++slot)
        setBackgroundSlot(slot, background);
    for (int slot = 1; slot <= 3; ++slot)
        setTextSlot(slot, text);
    viewport()->update();
}

void ListHeader::setTitles(const QStringList& titles, const QList<Qt::Alignment>& alignments) {
    titles_ = titles;
    alignments_ = alignments;
    viewport()->update();
}

void ListHeader::setSortIndicatorState(int column, bool ascending) {
    sortColumn_ = column;
    ascending_ = ascending;
    viewport()->update();
}

void ListHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid())
        return;
    painter->save();
    const bool pressing = pressedItem_ >= 0;
    const bool pressed = logicalIndex == pressedItem_;
    QColor textColor = text_[1];
    if (pressing) {
        painter->fillRect(rect, pressed ? background_[1] : background_[0]);
        textColor = pressed ? text_[2] : text_[0];
    } else {
        QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
        gradient.setColorAt(0, background_[2]);
        gradient.setColorAt(1, background_[3]);
        painter->fillRect(rect, gradient);
    }
    painter->setPen(borderColor(background_[0]));
    painter->drawRect(rect.adjusted(0, 0, -1, -1));

    QRect textRect = rect.adjusted(4, 0, -4, 0);
    if (pressed)
        textRect.translate(1, 1);
    if (logicalIndex == sortColumn_) {
        textRect.setRight(textRect.right() - rect.height() / 4 - kArrowMargin);
        drawSortArrow(painter, rect, ascending_, palette());
    }
    const bool ownTitle = logicalIndex < titles_.size();
    const QString title =
        ownTitle
            ? titles_[logicalIndex]
            : (model() ? model()->headerData(logicalIndex, orientation()).toString() : QString());
    const Qt::Alignment align =
        logicalIndex < alignments_.size() ? alignments_[logicalIndex] : Qt::AlignLeft;
    painter->setPen(textColor);
    painter->drawText(textRect, int(align | Qt::AlignVCenter),
                      fontMetrics().elidedText(title, Qt::ElideRight, textRect.width()));
    painter->restore();
}

void ListHeader::mouseMoveEvent(QMouseEvent* event) {
    if (!hoverTimer_->isActive())
        hoverTimer_->start();
    if (event->buttons() == Qt::NoButton)
        setHotItem(logicalIndexAt(event->position().toPoint()));
    QHeaderView::mouseMoveEvent(event);
}

void ListHeader::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressedItem_ = logicalIndexAt(event->position().toPoint());
        viewport()->update();
    }
    QHeaderView::mousePressEvent(event);
}

void ListHeader::mouseReleaseEvent(QMouseEvent* event) {
    pressedItem_ = -1;
    viewport()->update();
    QHeaderView::mouseReleaseEvent(event);
}

void ListHeader::leaveEvent(QEvent* event) {
    QHeaderView::leaveEvent(event);
    trackHover();
}

// The timer keeps hover right even when the mouse leaves without a move event inside.
void ListHeader::trackHover() {
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        return;
    const QPoint pos = viewport()->mapFromGlobal(QCursor::pos());
    if (viewport()->rect().contains(pos) && underMouse()) {
        setHotItem(logicalIndexAt(pos));
        return;
    }
    hoverTimer_->stop();
    setHotItem(-1);
}

void ListHeader::setHotItem(int item) {
    if (item == hotItem_)
        return;
    hotItem_ = item;
    viewport()->update();
}
