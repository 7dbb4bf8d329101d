#pragma once

#include "IsolatedHome.h"
#include "QStringPrinter.h"
#include "RecordingEvents.h"
#include "common/Prompter.h"
#include "panes/server/ServerPaneController.h"
#include "settings/ControlSettings.h"
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
