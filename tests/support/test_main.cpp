#include "platform/HttpClient.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test binary gets a QApplication, so widget and script-engine tests need no set-up of
// their own. CTest runs them on the offscreen platform. libcurl is set up once, before any
// thread starts.
int main(int argc, char** argv) {
    if (!InitHttpClient())
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
