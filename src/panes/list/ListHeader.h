#pragma once

#include <QColor>
#include <QHeaderView>
#include <QStringList>

class QTimer;

// The column header of the file lists: seven colour slots, hover and press tracking and a
// sort arrow. Titles and alignments come from the owner (setTitles), not from the model.
class ListHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit ListHeader(QWidget* parent = nullptr);

    // Background slots 1-4 and text slots 1-3; out-of-range slots are ignored.
    void setBackgroundSlot(int slot, const QColor& color);
    void setTextSlot(int slot, const QColor& color);
    QColor backgroundSlot(int slot) const;
    QColor textSlot(int slot) const;
    // One colour into all four background slots and one into all three text slots.
    void setColors(const QColor& background, const QColor& text);

    void setTitles(const QStringList& titles, const QList<Qt::Alignment>& alignments);
    // The column that shows the arrow (-1: none) and its direction.
    void setSortIndicatorState(int column, bool ascending);
    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return ascending_; }
    int hotItem() const { return hotItem_; }
    int pressedItem() const { return pressedItem_; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void trackHover();
    void setHotItem(int item);

    QColor background_[4];
    QColor text_[3];
    QStringList titles_;
    QList<Qt::Alignment> alignments_;
    QTimer* hoverTimer_;
    int hotItem_ = -1;
    int pressedItem_ = -1;
    int sortColumn_ = -1;
    bool ascending_ = true;
};
