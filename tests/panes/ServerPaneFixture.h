#pragma once

#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "common/ControlEvents.h"
#include "common/Prompter.h"
#include "control/ControlSettings.h"
#include "panes/server/ServerPaneController.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"
#include "xml/UIConfig.h"

#include <QQueue>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Records messages; answers questions from a queue, else with their default.
class QueuedPrompter : public Prompter {
public:
    void message(const QString&, const QString& text) override { messages.append(text); }
    int ask(const QString&, const QString&, const QStringList&, int defaultButton) override {
        ++questions;
        return answers.isEmpty() ? defaultButton : answers.dequeue();
    }
    QStringList openFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void showPage(const QString&, const QString&) override {}

    QStringList messages;
    QQueue<int> answers; // button indexes
    int questions = 0;
};

// Every event as one line, "name(args)".
class RecordingEvents : public ControlEvents {
public:
    void addfileError(short code, const QString& path) override { add("addfileError", code, path); }
    void loadCompleted() override { add("loadCompleted"); }
    void localAttachCompleted() override { add("localAttachCompleted"); }
    void popupMenu(short id) override { add("popupMenu", id); }
    void renameCompleted(short code) override { add("renameCompleted", code); }
    void openfileCompleted(short code) override { add("openfileCompleted", code); }
    void listItemDoubleClicked() override { add("listItemDoubleClicked"); }
    void downloadCompleted(short code) override { add("downloadCompleted", code); }
    void dragDropError(short code, const QString& name) override {
        add("dragDropError", code, name);
    }
    void dragDropCompleted() override { add("dragDropCompleted"); }
    void xmlLoadCompleted(short code) override { add("xmlLoadCompleted", code); }
    void newFolderCompleted(short code, int index, const QString& path) override {
        add("newFolderCompleted", code, QString::number(index) + "," + path);
    }
    void serverItemDeleteCompleted(short code, double bytes) override {
        add("serverItemDeleteCompleted", code, QString::number(bytes, 'f', 0));
    }
    void functionKeyPressed(const QString& key) override { add("functionKeyPressed", 0, key); }
    void nodeUpDownCompleted(short code, short upDown) override {
        add("nodeUpDownCompleted", code, QString::number(upDown));
    }
    void listItemClicked() override { add("listItemClicked"); }
    void treeSelectionChanged(const QString& path) override {
        add("treeSelectionChanged", 0, path);
    }
    void dragDownSelectTarget(short, const QString&, const QString&, const QString&) override {
        add("dragDownSelectTarget");
    }

    int count(const QString& name) const {
        return static_cast<int>(lines.filter(name + "(").size());
    }
    QStringList lines;

private:
    void add(const QString& name, int code = 0, const QString& text = QString()) {
        lines.append(name + "(" + QString::number(code) + (text.isEmpty() ? "" : "," + text) + ")");
    }
};

// A catalogue loaded from `xml`, a fresh journal, default settings and a controller with
// its tree built (nothing selected yet).
class ServerPaneFixture : public ::testing::Test {
protected:
    void load(const QString& xml) {
        const QString file = dir.filePath("catalogue.xml");
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(xml.toUtf8());
        out.close();
        ASSERT_TRUE(catalogue.LoadFile(file, prompter));
        ASSERT_TRUE(journal.Create(prompter));
        controller.applyConfiguration();
        ASSERT_TRUE(controller.buildTree());
    }
    // A local file of `size` bytes in the temporary folder; returns its path.
    QString localFile(const QString& name, int size = 10) {
        const QString path = dir.filePath(name);
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(size, 'x'));
        return path;
    }
    // Row texts of the list's name column.
    QStringList rowNames() {
        QStringList names;
        for (int row = 0; row < controller.list().rowCount(); ++row)
            names.append(controller.list().text(row, NameColumn));
        return names;
    }

    IsolatedHome home;
    QTemporaryDir dir;
    QueuedPrompter prompter;
    RecordingEvents events;
    ControlSettings settings;
    UIConfig uiConfig;
    ServerCatalogue catalogue;
    ChangeJournal journal;
    ServerPaneController controller{catalogue, journal, settings, uiConfig, prompter, events};
};
