#pragma once

#include "../ServerPaneFixture.h"
#include "common/RememberedValues.h"
#include "panes/local/LocalPaneController.h"
#include "panes/local/RealLocalNamespace.h"

#include <QDir>
#include <QFile>

// The real file system below a temporary folder: "desktop" and "home" inside it, and the
// folder itself as the only volume besides nothing else.
class TempNamespace : public RealLocalNamespace {
public:
    explicit TempNamespace(const QString& base) : base_(PathFromText(base)) {}
    std::filesystem::path desktopFolder() const override { return base_ / "desktop"; }
    std::filesystem::path homeFolder() const override { return base_ / "home"; }
    std::vector<LocalVolume> volumes() const override { return {{"Temp", base_}}; }

private:
    std::filesystem::path base_;
};

// Counts the model tester's complaints while it lives, so a broken model fails the test.
class ModelTesterWatch {
public:
    ModelTesterWatch() : previous_(qInstallMessageHandler(&record)) { failures() = 0; }
    ~ModelTesterWatch() { qInstallMessageHandler(previous_); }
    static int& failures() {
        static int count = 0;
        return count;
    }

private:
    static void record(QtMsgType, const QMessageLogContext& context, const QString&) {
        if (context.category && QByteArray(context.category) == "qt.modeltest")
            ++failures();
    }
    QtMessageHandler previous_;
};

// A temporary tree with helpers to make folders and files in it.
class LocalTree {
public:
    LocalTree() { QDir(root()).mkpath("home"); }
    QString root() const { return dir.path(); }
    QString path(const QString& relative) const { return dir.filePath(relative); }
    QString folder(const QString& relative) const {
        QDir(root()).mkpath(relative);
        return path(relative);
    }
    QString file(const QString& relative, int size = 10) const {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile out(full);
        out.open(QIODevice::WriteOnly);
        out.write(QByteArray(size, 'x'));
        return full;
    }

    QTemporaryDir dir;
};
