#include <gtest/gtest.h>

#include <QFile>

#include "link/pty_simulator_host.h"
#include "qz1/qz1_harness.h"

namespace qz1::test {
namespace {

using qz::test::TempFolder;

TEST(Qz1Link, DownloadWritesTheModulesImageOnlyWhenComplete) {
    qz::PtySimulatorHost module{qz::ModuleSimulator(qz::demoTune(), "QZ-1 V2.1")};
    TempFolder folder;
    const ToolRun run =
        runTool({"download", "--port", module.devicePath().toStdString(), folder.path("out.dat")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("Download From EEPROM: Firmware ID: QZ-1 V2.1"), std::string::npos);
    EXPECT_EQ(folder.read("out.dat"), fileBytes(qz::demoTune()));

    qz::PtySimulatorHost marine{qz::ModuleSimulator(qz::demoTune(), "QZ-1 Marine")};
    const ToolRun refused =
        runTool({"download", "--port", marine.devicePath().toStdString(), folder.path("m.dat")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("Not standard QZ-1 unit. Cannot download and edit data."),
              std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.path("m.dat"))));
}

TEST(Qz1Link, AFailedVerificationListsTheDifferingAddresses) {
    qz::PtySimulatorHost module{
        qz::ModuleSimulator(qz::demoTune(), "QZ-1", {.readBackDiffersAt = 100})};
    TempFolder folder;
    const auto in = folder.write("in.dat", fileBytes(qz::demoTune()));
    const ToolRun run = runTool({"upload", "--port", module.devicePath().toStdString(), in});
    EXPECT_EQ(run.status, 1);
    const int expected = qz::demoTune()[100];
    EXPECT_NE(
        run.err.find("Upload aborted - EEPROM verification failed.\n  address 100: wrote " +
                     std::to_string(expected) + ", read " + std::to_string(expected ^ 0x5A) + "\n"),
        std::string::npos)
        << run.err;
}

TEST(Qz1Link, ANonexistentDeviceIsOneErrorAndNoLinkMessage) {
    TempFolder folder;
    const ToolRun run =
        runTool({"download", "--port", "/dev/does-not-exist", folder.path("out.dat")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Error: Cannot open /dev/does-not-exist"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Cannot establish RS-232 link."), std::string::npos);
    EXPECT_EQ(runTool({"download", folder.path("out.dat")}).status, 2);
    EXPECT_EQ(runTool({"sim", "--fault", "sparks"}).status, 2);
}

}  // namespace
}  // namespace qz1::test
