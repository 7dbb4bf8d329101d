#pragma once

#include "HostOptions.h"

#include <QJSEngine>
#include <QObject>
#include <memory>

class CMxVantrel2Ctrl;
class ControlWindow;
class ScriptedPrompter;

// The `host` object page script sees.
class HostObject : public QObject {
    Q_OBJECT
    // True when the page runs without a window and prompts are answered by script.
    Q_PROPERTY(bool offscreen READ offscreen CONSTANT)
    // `host.ui`: synthetic input to the control's panes (UiDriver).
    Q_PROPERTY(QObject* ui READ ui CONSTANT)
public:
    explicit HostObject(ScriptedPrompter* prompter, QObject* parent = nullptr)
        : QObject(parent), prompter_(prompter) {}

    bool offscreen() const { return prompter_ != nullptr; }
    QObject* ui() const { return ui_; }
    void setUi(QObject* ui) { ui_ = ui; }
    // Ends the run with `code` once control returns to the event loop.
    Q_INVOKABLE void quit(int code);
    // Queues the answer to the next offscreen prompt of `kind`; an array of paths answers a
    // "files" prompt.
    Q_INVOKABLE void answer(const QString& kind, const QJSValue& value);
    // Writes one line to stdout (behind console.log).
    Q_INVOKABLE void print(const QString& line);

signals:
    void quitRequested(int code);

private:
    ScriptedPrompter* prompter_;
    QObject* ui_ = nullptr;
};

// Stands in for the browser page: creates the control with the page's parameters, shows it,
// runs the page script and ends the run by the page's word, a script error or the time-out.
class PageRunner : public QObject {
    Q_OBJECT
public:
    explicit PageRunner(const HostOptions& options);
    ~PageRunner() override;

    // Runs the page and the event loop; returns the process exit code.
    int run();

private:
    bool evaluatePage();
    void finish(int code);
    void saveScreenshot() const;

    HostOptions options_;
    std::unique_ptr<CMxVantrel2Ctrl> ctrl_;
    std::unique_ptr<ControlWindow> window_;
    std::unique_ptr<ScriptedPrompter> scriptedPrompter_;
    QJSEngine engine_;
    HostObject* host_ = nullptr;
};
