#include <gtest/gtest.h>

#include <QFile>

#include "link/link_log.h"
#include "link/module_protocol.h"
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

// A download that did not read every byte cleanly writes no file, and says why once.
TEST(Qz1Link, ADownloadThatFailsWritesNoFile) {
    const struct {
        qz::SimulatorFaults faults;
        std::string message;
    } cases[] = {
        {{.strayByteAt = 100}, qz::unexpectedReplyMessage(100)},
        {{.vanishAt = 100}, "disconnected"},
    };
    for (const auto& c : cases) {
        qz::PtySimulatorHost module{qz::ModuleSimulator(qz::demoTune(), "QZ-1", c.faults)};
        TempFolder folder;
        const ToolRun run = runTool(
            {"download", "--port", module.devicePath().toStdString(), folder.path("out.dat")});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("Download failed."), std::string::npos);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.path("out.dat"))));
    }
}

TEST(Qz1Link, ANonexistentDeviceIsOneErrorAndNoLinkMessage) {
    TempFolder folder;
    const ToolRun run =
        runTool({"download", "--port", "/dev/does-not-exist", folder.path("out.dat")});
    EXPECT_EQ(run.status, 1);
    const std::string open = "Error: Cannot open /dev/does-not-exist";
    ASSERT_NE(run.err.find(open), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(open, run.err.find(open) + 1), std::string::npos) << "said once";
    EXPECT_NE(run.err.find("Cannot establish RS-232 link."), std::string::npos);
    EXPECT_EQ(runTool({"download", folder.path("out.dat")}).status, 2);
    EXPECT_EQ(runTool({"sim", "--fault", "sparks"}).status, 2);
}

TEST(Qz1Link, VerboseTurnsOnTheLinkTrace) {
    EXPECT_FALSE(lcLink().isDebugEnabled());
    EXPECT_EQ(runTool({"--verbose", "--help"}).status, 0);
    EXPECT_TRUE(lcLink().isDebugEnabled());
    QLoggingCategory::setFilterRules(QStringLiteral("qz.link.debug=false"));
}

}  // namespace
}  // namespace qz1::test
