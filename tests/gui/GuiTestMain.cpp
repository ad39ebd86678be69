#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// Widget tests run on the offscreen platform with a real QApplication.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
