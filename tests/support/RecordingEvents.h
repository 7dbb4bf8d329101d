#pragma once

#include "common/ControlEvents.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <functional>

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
    // The codes of every `name` event, in firing order.
    QList<short> codes(const QString& name) const {
        QList<short> found;
        for (const QString& line : lines) {
            if (line.startsWith(name + "("))
                found.append(
                    line.mid(name.size() + 1).section(QRegularExpression("[,)]"), 0, 0).toShort());
        }
        return found;
    }
    QStringList lines;
    // Runs after each line is recorded, as a page handler would.
    std::function<void(const QString& line)> onEvent;

private:
    void add(const QString& name, int code = 0, const QString& text = QString()) {
        lines.append(name + "(" + QString::number(code) + (text.isEmpty() ? "" : "," + text) + ")");
        if (onEvent)
            onEvent(lines.last());
    }
};
