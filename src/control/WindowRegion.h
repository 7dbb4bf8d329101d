#pragma once

#include <QRegion>
#include <QString>
#include <optional>

class QWidget;

// The rounded window region the page may ask for: "left,top,right,bottom,ellipseWidth,
// ellipseHeight". Each field reads as a decimal integer (leading digits, 0 when none).
// Anything but exactly five commas gives nothing.
std::optional<QRegion> ParseRoundRectRegion(const QString& text);

// Masks `window` with the region `text` names; returns false and leaves the window
// unchanged when the text names none.
bool ApplyRoundRectRegion(QWidget* window, const QString& text);
