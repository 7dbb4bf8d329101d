#include "platform/HttpClient.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

// Test binaries of the layers without widgets get a QGuiApplication (models draw icons) and
// link no widget library, so nothing in them can reach for a window. libcurl is set up once,
// before any thread starts.
int main(int argc, char** argv) {
    if (!InitHttpClient())
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
