#include <gtest/gtest.h>

#include <QTemporaryDir>

#include QZ_TEST_APPLICATION_HEADER

// Tests run on Qt's offscreen platform, no display needed, in the kind of application the
// layer under test needs: the core alone, painting, or widgets.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The per-user settings (the chosen serial port) go to a folder of the test's own.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", settings.path().toLocal8Bit());
    QZ_TEST_APPLICATION application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
