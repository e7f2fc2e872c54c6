#include <gtest/gtest.h>

#include <QFile>
#include <QLoggingCategory>

#include "link/module_protocol.h"
#include "link/pty_simulator_host.h"
#include "qz1/qz1_harness.h"

namespace qz1::test {
namespace {

using qz::test::TempFolder;

// A download writes its file only when it read every byte cleanly, and says why once when
// not; --verbose, anywhere, puts the link trace among the tool's own lines.
TEST(Qz1Link, ADownloadWritesItsFileOnlyWhenComplete) {
    const struct {
        std::string id;
        qz::SimulatorFaults faults;
        int status;
        std::string message;
    } cases[] = {
        {"QZ-1 V2.1", {}, 0, "Download From EEPROM: Firmware ID: QZ-1 V2.1"},
        {"QZ-1 Marine", {}, 4, "Not standard QZ-1 unit. Cannot download and edit data."},
        {"QZ-1",
         {.strayByteAt = 100},
         4,
         "EEPROM read - unexpected reply at address 100. Check the cable.\n"},
        {"QZ-1", {.vanishAt = 100}, 4, "was disconnected. Check the cable.\n"},
    };
    for (const auto& c : cases) {
        qz::PtySimulatorHost module{qz::ModuleSimulator(qz::demoTune(), c.id, c.faults)};
        TempFolder folder;
        const ToolRun run = runTool({"download", folder.path("out.dat"), "--port",
                                     module.devicePath().toStdString(), "--verbose"});
        QLoggingCategory::setFilterRules(QStringLiteral("qz.link.debug=false"));
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("\nqz.link: -> "), std::string::npos) << run.err;
        EXPECT_EQ(folder.read("out.dat"), c.status ? QByteArray() : fileBytes(qz::demoTune()));
    }
}

TEST(Qz1Link, AFailedVerificationListsTheDifferingAddresses) {
    qz::PtySimulatorHost module{
        qz::ModuleSimulator(qz::demoTune(), "QZ-1", {.readBackDiffersAt = 100})};
    TempFolder folder;
    const auto in = folder.write("in.dat", fileBytes(qz::demoTune()));
    const ToolRun run = runTool({"upload", "--port", module.devicePath().toStdString(), in});
    EXPECT_EQ(run.status, 4);
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
    EXPECT_EQ(run.status, 4);
    const std::string open = "Error: Cannot open /dev/does-not-exist";
    ASSERT_NE(run.err.find(open), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(open, run.err.find(open) + 1), std::string::npos) << "said once";
    EXPECT_NE(run.err.find("Cannot establish RS-232 link."), std::string::npos);
}

}  // namespace
}  // namespace qz1::test
