#pragma once

#include <QLabel>

// A one-line label that never widens its window: a text longer than the label is shown
// elided in the middle, with the whole text in the tooltip. Use setFullText, not setText.
class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    QString fullText() const { return full_; }

    // Any width will do: the text is elided to fit.
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString full_;
};
