#pragma once

#include "panes/local/FolderScanJob.h"

#include <QDialog>
#include <QList>
#include <QTimer>
#include <functional>

class AttachTarget;
class ControlEvents;
class QLabel;
class QPushButton;
class QueuedUploads;
class ServerCatalogue;
class UIConfig;
struct UploadRow;

// The modal window of a folder scan (modes 1 structured and 3 flat) and of the upload-list
// build (mode 2). A scan window stays invisible for its first three seconds, so a short scan
// is never seen. The work runs in steps, one per turn of the event loop while steps are
// ready and one per tick otherwise, so the window repaints and its stop button is heard
// between any two; the window closes once the work is done. The stop button ends the scan
// after its current entry. Esc and the close box do nothing: only the end of the work
// closes it.
class FolderScanWindow : public QDialog {
    Q_OBJECT
public:
    enum Mode { StructuredScan = 1, UploadListBuild = 2, FlatScan = 3 };

    // `step` does a share of the work and tells where the work stands; `currentItem` is the
    // text of the current-item line; `stop` is the stop button's action.
    FolderScanWindow(Mode mode, const UIConfig& uiConfig, std::function<ScanProgress()> step,
                     std::function<QString()> currentItem, std::function<void()> stop,
                     QWidget* parent = nullptr);

    QPushButton* stopButton() const { return stopButton_; }

public slots:
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyTexts();
    void runStep();
    void tick();
    void closeWhenDone();

    Mode mode_;
    const UIConfig& uiConfig_;
    std::function<ScanProgress()> step_;
    std::function<QString()> currentItem_;
    QLabel* comment_;
    QLabel* currentLine_;
    QPushButton* stopButton_;
    QTimer timer_;
    QTimer nextStep_; // fires on the next turn of the event loop while steps are ready
    int showCounter_ = 0;
    bool firstShow_ = true;
    bool done_ = false;
};

// AddFolder's window: scans `folder` into the current server folder and returns 0, or the
// batch-ending code that stopped it.
short RunFolderScan(QWidget* parent, const UIConfig& uiConfig, AttachTarget& target,
                    ControlEvents& events, const QString& folder, bool structured);

// The upload window's list-building step (mode 2): the rows of the files queued in this run.
qint16 RunUploadListBuild(QWidget* parent, const UIConfig& uiConfig,
                          const ServerCatalogue& catalogue, const QueuedUploads& queued,
                          QList<UploadRow>& rows);
