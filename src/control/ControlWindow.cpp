#include "control/ControlWindow.h"

#include "common/ThemeIcons.h"
#include "control/ControlInputFilter.h"
#include "control/PaneHostWindow.h"
#include "control/WindowRegion.h"
#include "session/ControlSession.h"

#include <QApplication>
#include <QResizeEvent>
#include <QStyle>

namespace {

// Panes ask for icons by theme name; without a desktop theme they get Qt's own style icons.
// The style's icons are taken first: once a theme is set, the style answers from it.
void installIcons(const QStyle& style) {
    SetFallbackIcons(style.standardIcon(QStyle::SP_DirIcon),
                     style.standardIcon(QStyle::SP_DriveHDIcon),
                     style.standardIcon(QStyle::SP_FileIcon));
    UseInstalledIconTheme();
}

} // namespace

ControlWindow::ControlWindow(ControlSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    installIcons(*style());
    paneHost_ = new PaneHostWindow(session_, this);
    // Keys reach the focused widget inside the panes first, so the filter sits on the
    // application; it only acts on events for this control's widgets.
    qApp->installEventFilter(new ControlInputFilter(*this, *paneHost_, session_.events()));
    // Hiding the browser's bars (IeControlBarAllVisiable) has no counterpart here: the
    // host window has no bars. The rounded region applies to the top-level window instead.
    connect(&session_, &ControlSession::started, this, [this] {
        if (!session_.ieRoundRectRgn.isEmpty())
            ApplyRoundRectRegion(window(), session_.ieRoundRectRgn);
    });
}

ControlWindow::~ControlWindow() = default;

void ControlWindow::showEvent(QShowEvent* event) {
    session_.start();
    QWidget::showEvent(event);
}

void ControlWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    paneHost_->setGeometry(0, 0, event->size().width(), event->size().height());
}
