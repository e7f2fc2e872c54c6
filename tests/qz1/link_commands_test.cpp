#include <gtest/gtest.h>

#include <QLoggingCategory>

#include "link/module_protocol.h"
#include "link/pty_simulator_host.h"
#include "qz1/qz1_harness.h"

namespace qz1::test {
namespace {

using qz::test::TempFolder;

// One row for each way a transfer ends: its exit status and the line that says why, worded
// for a terminal. A download writes its file only when it read every byte cleanly; a failed
// verification lists each differing address; a port that cannot be opened is said once.
// --verbose, anywhere, puts the link trace among the tool's own lines.
TEST(Qz1Link, ATransferEndsWithItsStatusAndItsReason) {
    const int differing = qz::demoTune()[100];
    const struct {
        std::string command;
        std::string id;
        int status;
        std::string message;
        qz::SimulatorFaults faults = {};
    } cases[] = {
        {"download", "QZ-1 V2.1", 0, "Download From EEPROM: Firmware ID: QZ-1 V2.1"},
        {"download", "QZ-1 Marine", 4, "Not standard QZ-1 unit. Cannot download and edit data."},
        {"download",
         "QZ-1",
         4,
         "EEPROM read - unexpected reply at address 100. Check the cable.\n",
         {.strayByteAt = 100}},
        {"download", "QZ-1", 4, "was disconnected. Check the cable.\n", {.vanishAt = 100}},
        {"upload",
         "QZ-1",
         4,
         "Upload aborted - EEPROM verification failed.\n  address 100: wrote " +
             std::to_string(differing) + ", read " + std::to_string(differing ^ 0x5A) + "\n",
         {.readBackDiffersAt = 100}},
        {"download", "", 4, "Cannot establish RS-232 link."},
    };
    for (const auto& c : cases) {
        qz::PtySimulatorHost module{qz::ModuleSimulator(qz::demoTune(), c.id, c.faults)};
        TempFolder folder;
        const auto file = c.command == "upload" ? folder.write("in.dat", fileBytes(qz::demoTune()))
                                                : folder.path("out.dat");
        const auto port = c.id.empty() ? "/dev/does-not-exist" : module.devicePath().toStdString();
        const ToolRun run = runTool({c.command, file, "--port", port, "--verbose"});
        QLoggingCategory::setFilterRules(QStringLiteral("qz.link.debug=false"));
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        if (c.command == "download") {
            EXPECT_EQ(folder.read("out.dat"), c.status ? QByteArray() : fileBytes(qz::demoTune()));
        }
        const std::string open = "Error: Cannot open " + port;
        if (c.id.empty()) {
            EXPECT_NE(run.err.find(open), std::string::npos) << run.err;
        } else {
            EXPECT_NE(run.err.find("\nqz.link: -> "), std::string::npos) << run.err;
        }
        EXPECT_EQ(run.err.find(open, run.err.find(open) + 1), std::string::npos) << "said once";
    }
}

}  // namespace
}  // namespace qz1::test
