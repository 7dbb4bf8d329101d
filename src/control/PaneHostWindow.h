#pragma once

#include "control/ControlSettings.h"
#include "control/PaneLayout.h"

#include <QWidget>
#include <array>
#include <memory>

class Prompter;

// The control's one child window: owns the settings and the documents, holds the four panes
// and lays them out for the current mode.
class PaneHostWindow : public QWidget {
    Q_OBJECT
public:
    explicit PaneHostWindow(QWidget* parent = nullptr);
    ~PaneHostWindow() override;

    // Every modal question goes through this; real dialogs unless the host installs another.
    Prompter& prompter() const { return *prompter_; }
    void setPrompter(Prompter* prompter) { prompter_ = prompter ? prompter : ownPrompter_.get(); }

    ControlSettings& settings() { return settings_; }
    const ControlSettings& settings() const { return settings_; }

    // Which pane has the keyboard focus: 1 server tree, 2 server list, 3 local tree,
    // 4 local list, 0 before any.
    qint16 focusPane() const { return focusPane_; }
    void setFocusPane(qint16 pane) { focusPane_ = pane; }

    // Lays the panes out again for `settings().LocalUIType`.
    void applyLayoutMode();
    const PaneLayout& layout() const { return layout_; }
    QWidget* pane(PaneLayout::Pane which) const { return panes_[which]; }

    // The view a list shows: 1 large icons, 2 small icons, 3 list, 4 details. Other modes are
    // stored in the settings by the caller and leave the view as it is.
    void applyServerListViewMode(qint16 mode);
    void applyLocalListViewMode(qint16 mode);
    qint16 serverListView() const { return serverListView_; }
    qint16 localListView() const { return localListView_; }

    // Index of the first selected row of a list, or -1.
    int selectedServerListPosition() const;
    int selectedLocalListPosition() const;

    // The whole catalogue as XML text, empty while none is loaded.
    QString catalogueText() const;

    // Starts the document load, or queues one more when a load is running.
    void requestDocumentLoad();
    bool documentLoadPending() const { return loadQueued_; }

signals:
    void documentLoadRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void placePanes();

    ControlSettings settings_;
    std::unique_ptr<Prompter> ownPrompter_;
    Prompter* prompter_;
    PaneLayout layout_;
    std::array<QWidget*, PaneLayout::PaneCount> panes_{};
    qint16 focusPane_ = 0;
    qint16 serverListView_ = 4;
    qint16 localListView_ = 4;
    bool shownOnce_ = false;
    bool loadRunning_ = false;
    bool loadQueued_ = false;
};
