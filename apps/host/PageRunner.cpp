#include "PageRunner.h"

#include "UiDriver.h"
#include "WindowShots.h"
#include "control/ControlWindow.h"
#include "control/PaneHostWindow.h"
#include "face/CMxVantrel2Ctrl.h"
#include "session/ControlSession.h"
#include "session/ScriptedPrompter.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

namespace {

void printLine(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void printError(const QString& line) {
    std::fputs(("vantrel-host: " + line + "\n").toUtf8().constData(), stderr);
}

constexpr int kScriptErrorExit = 1;
constexpr int kTimeoutExit = 124;

// console.log joins its arguments with spaces, as a browser's does.
const char* const kConsoleShim = R"((function (host) {
    return { log: function () { host.print(Array.prototype.map.call(arguments, String).join(' ')); } };
}))";

} // namespace

void HostObject::quit(int code) {
    emit quitRequested(code);
}

void HostObject::answer(const QString& kind, const QJSValue& value) {
    if (!prompter_)
        return;
    QString text = value.toString();
    if (value.isArray()) {
        QStringList items;
        const int length = value.property("length").toInt();
        for (int i = 0; i < length; ++i)
            items.append(value.property(i).toString());
        text = items.join('\n');
    }
    prompter_->queueAnswer(kind, text);
}

void HostObject::print(const QString& line) {
    printLine(line);
}

PageRunner::PageRunner(const HostOptions& options)
    : options_(options), ctrl_(std::make_unique<CMxVantrel2Ctrl>()),
      window_(std::make_unique<ControlWindow>(ctrl_->session())) {
    if (options_.offscreen) {
        scriptedPrompter_ = std::make_unique<ScriptedPrompter>(printLine);
        ctrl_->session().setPrompter(*scriptedPrompter_);
        ctrl_->session().setFileOpener([](const QString& path) {
            printLine(QStringLiteral("open: ") + path);
            return true;
        });
        ctrl_->session().setBrowserOpener([](const QUrl& url) {
            printLine(QStringLiteral("browse: ") + QString::fromLatin1(url.toEncoded()));
            return true;
        });
    }
    if (!options_.windowShotsFolder.isEmpty())
        new WindowShots(options_.windowShotsFolder, *window_);
    host_ = new HostObject(scriptedPrompter_.get(), &engine_);
    host_->setUi(new UiDriver(*window_, host_));
    connect(host_, &HostObject::quitRequested, this, &PageRunner::finish, Qt::QueuedConnection);
}

PageRunner::~PageRunner() = default;

int PageRunner::run() {
    ctrl_->loadPropertySet(options_.params);
    ctrl_->session().setHostPage(HostPage::fromUrl(options_.pageUrl, options_.cookie));
    window_->resize(options_.size);
    window_->setWindowTitle(QStringLiteral("Vantrel - %1").arg(options_.pageUrl.toString()));
    window_->show();

    QTimer::singleShot(options_.timeoutSeconds * 1000, this, [this] {
        printError(QStringLiteral("timed out after %1 s").arg(options_.timeoutSeconds));
        finish(kTimeoutExit);
    });
    if (!evaluatePage())
        return kScriptErrorExit;
    return QApplication::exec();
}

bool PageRunner::evaluatePage() {
    QFile file(options_.pageFile);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read page %1").arg(options_.pageFile));
        return false;
    }
    QJSValue global = engine_.globalObject();
    QJSValue hostValue = engine_.newQObject(host_);
    global.setProperty("host", hostValue);
    global.setProperty("console", engine_.evaluate(kConsoleShim).call({hostValue}));
    QJSEngine::setObjectOwnership(ctrl_.get(), QJSEngine::CppOwnership);
    global.setProperty("ctrl", engine_.newQObject(ctrl_.get()));

    const QJSValue result = engine_.evaluate(QString::fromUtf8(file.readAll()), options_.pageFile);
    if (result.isError()) {
        printError(QStringLiteral("uncaught script error: %1 (%2:%3)")
                       .arg(result.toString(), options_.pageFile,
                            result.property("lineNumber").toString()));
        return false;
    }
    return true;
}

void PageRunner::finish(int code) {
    saveScreenshot();
    QApplication::exit(code);
}

void PageRunner::saveScreenshot() const {
    if (options_.screenshotFile.isEmpty())
        return;
    if (!window_->grab().save(options_.screenshotFile, "PNG"))
        printError(QStringLiteral("cannot save screenshot %1").arg(options_.screenshotFile));
}
