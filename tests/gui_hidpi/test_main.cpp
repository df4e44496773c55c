// The window's tests on a screen of a higher device pixel ratio: Qt's scale factor is 2, or what
// --scale=<factor> gives, set before the one QApplication starts. Offscreen, with Qt's test
// locations.
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QStandardPaths>
#include <cstring>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QByteArray scale = "2";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--scale=", 8) == 0) {
            scale = argv[i] + 8;
        }
    }
    qputenv("QT_SCALE_FACTOR", scale);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
