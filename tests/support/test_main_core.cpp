#include <QCoreApplication>
#include <gtest/gtest.h>

// Test binaries of the layers without widgets get a QCoreApplication only, so nothing in them
// can reach for a window.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
