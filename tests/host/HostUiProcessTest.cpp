#include "IsolatedHome.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Runs a page offscreen in layout `mode` at 600 x 400; returns its stdout.
QString runPage(const QTemporaryDir& dir, int mode, const QString& script) {
    const QString page = dir.filePath("page.js");
    QFile file(page);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(script.toUtf8());
    file.close();
    QProcess process;
    process.start(VANTREL_HOST_PATH, {"--offscreen", "--size", "600x400", "--param",
                                      QString("LocalUIType=%1").arg(mode), page});
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool painted(const QImage& image, const QRect& rect) {
    QSet<QRgb> colours;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size() > 1;
}

} // namespace

TEST(HostUi, PageScreenshotsOfEachLayoutShowEveryPanePainted) {
    IsolatedHome home;
    QTemporaryDir dir;
    // Pane rectangles of a 600 x 400 control: trees a third wide, the top row half high.
    const QList<QList<QRect>> panes = {{QRect(0, 0, 600, 400)},
                                       {QRect(0, 0, 200, 400), QRect(204, 0, 396, 400)},
                                       {QRect(0, 0, 200, 200), QRect(204, 0, 396, 200),
                                        QRect(0, 204, 200, 196), QRect(204, 204, 396, 196)}};
    for (int mode = 0; mode <= 2; ++mode) {
        const QString shot = dir.filePath(QString("mode%1.png").arg(mode));
        const QString out = runPage(dir, mode,
                                    QString(R"(
            ctrl.OnLoadCompleat.connect(function () {
                console.log(JSON.stringify(host.ui.rows("serverList")),
                            host.ui.click("serverList", ""),
                            host.ui.click("serverList", "missing.txt"));
                console.log(host.ui.screenshot("%1"));
                host.quit(0);
            });)")
                                        .arg(shot));
        EXPECT_EQ(out, "prompt: message: UI config XML not found.\n[] true false\ntrue\n") << mode;
        const QImage image(shot);
        ASSERT_EQ(image.size(), QSize(600, 400));
        for (const QRect& pane : panes[mode])
            EXPECT_TRUE(painted(image, pane)) << "mode " << mode;
        if (mode == 2) {
            EXPECT_EQ(image.pixelColor(201, 100), QColor(168, 166, 164)) << "upper bar";
            EXPECT_EQ(image.pixelColor(400, 202), QColor(168, 166, 164)) << "horizontal bar";
        }
    }
}
