#pragma once

#include <QDir>
#include <QObject>

// Saves every window the control opens over itself (transfer windows, questions) as a PNG in
// a folder, as it looked just before it closed: "NN-TITLE.png", numbered in closing order.
class WindowShots : public QObject {
    Q_OBJECT
public:
    WindowShots(const QString& folder, QWidget& control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDir folder_;
    QWidget& control_;
    int saved_ = 0;
};
