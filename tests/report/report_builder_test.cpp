#include "report/report_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "report/fixed_field.h"
#include "support/variables.h"

namespace qz {
namespace {

ReportInput input() {
    ReportInput in;
    in.company = "Kelvane";
    in.printed = "06/12/2026 11:30:00";
    in.firmwareId = "QZ-1 V2.1";
    return in;
}

std::vector<std::string> texts(const std::vector<PrintLine>& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines) out.push_back(lineText(line));
    return out;
}

// The parameter page of the last document, as characters.
std::vector<std::string> parameterPage(const ReportInput& in) {
    return texts(buildReport(in).back().blocks.back().lines);
}

// A heading at column 10, a label at 10 with its value at 50, and a line at 50 alone.
std::string h(const std::string& text) {
    return std::string(9, ' ') + text;
}
std::string v(const std::string& label, const std::string& value) {
    std::string line = h(label);
    line.resize(49, ' ');
    return line + value;
}
std::string alone(const std::string& text) {
    return std::string(49, ' ') + text;
}

TEST(FixedField, RightAlignsAndCutsToTheWidth) {
    EXPECT_EQ((std::vector{FixedField("25.0"), FixedField("MAP/RPM"), FixedField("123456789"),
                           FixedField("")}),
              (std::vector<std::string>{"    25.0", " MAP/RPM", "12345678", "        "}));
}

TEST(Report, TheParameterPageLineByLine) {
    ReportInput in = input();
    in.comment = "SN 4711";
    test::variables(in.parameters,
                    "FixedMaxRPMLimitEnabled=1 MaxRPMLimit=6500 Cyl4Engine=1 StartRetard=57 "
                    "RetardComp=51 CrankPulses=6 Table3DEnabled=1 MAPSensorBar=2 TrigTiming=28 "
                    "GPI1Mode=0x32 GPIO2Mode=0x34 GPIO2Delay=16 GPIO3Mode=2");
    // clang-format off
    const std::vector<std::string> expected = {
        h("Kelvane QZ-1 Ignition Module Data Printed: 06/12/2026 11:30:00"), "",
        h("Serial/Comment: SN 4711"), h("Firmware ID:" + std::string(8, ' ') + "QZ-1 V2.1"), "",
        h("Module Parameters"), "",
        h("General Options"), v("RPM Limit Disabled:", "False"),
        v("Multi-Spark Disabled:", "False"), v("Timing Functions Disabled:", "False"),
        v("Fixed Maximum RPM Limit Enabled:", "True"),
        v("Fixed Maximum RPM Limit:", "6500"), alone("4 Cylinder Engine"),
        v("Automatic Start Retard Enabled:", "True"), v("Start Retard (Deg):", "5"),
        v("High Speed Data Logging Enabled:", "False"), v("Cranking Pulses:", " 6 "),
        v("Retard Compensation (Deg):", "4.5"), "",
        h("Timing Table Options"), h("3D Timing Table Enabled"), h("3 bar MAP Sensor"),
        v("Trigger Signal Timing (Deg):", "28.0"), "",
        h("General Purpose Input/Ouput Parameters"),
        h("GPI1 TPS Analog NOS Enable"), v("TPS Off Volts:", "4.0"), v("TPS On Volts:", "4.2"),
        v("NOS Retard (Deg):", "0"), "",
        h("GPIO2 NOS Trigger"), v("Minimum RPM:", "3000"), v("Maximum RPM:", "6000"),
        v("NOS Delay (Sec):", "0.50"), v("One-Shot Delay Enabled:", "False"), "",
        h("GPIO3 Basic Shift Light"), v("Shift RPM:", "5000"),
    };
    // clang-format on
    EXPECT_EQ(parameterPage(in), expected);
}

// The variables set (by their names), the lines then on the page and those not: each row
// takes one branch of every part of the page. A distinct value in every variable, so that no
// line shows another's (the whole page above holds the GPI1 TPS and GPIO2 NOS lines).
TEST(Report, ConditionalLinesFollowTheirVariables) {
    const struct {
        const char* set;
        std::vector<std::string> present;
        std::vector<std::string> absent = {};
    } cases[] = {
        {"FixedMaxRPMLimitEnabled=0 StartRetard=0 GPI1Mode=0x0B GPIO2Mode=0x3F",
         {v("Fixed Maximum RPM Limit Enabled:", "False"),
          v("Automatic Start Retard Enabled:", "False"), h("Timing Table Disabled"),
          h("GPI1 Data Log Only (Default)"), h("GPIO2 Data Log Only (Default)")},
         {v("Fixed Maximum RPM Limit:", "3000"), alone("8 Cylinder Engine"),
          v("Start Retard (Deg):", "0")}},
        {"Table2DEnabled=1 GPI1Mode=4 GPI1Retard=114 GPIO2Mode=1 GPIO3Mode=1 GPIO3MinRPM=3300 "
         "GPIO3MaxRPM=6600",
         {h("2D Timing Table Enabled"), h("GPI1 Digital Retard"), v("Retard (Deg):", "10"),
          h("GPIO2 Vehicle Speed Input"), v("VSS Frequency:", "150"), h("GPIO3 RPM Window Switch"),
          v("Minimum RPM:", "3300"), v("Maximum RPM:", "6600")},
         {h("1 bar MAP Sensor")}},
        {"Table3DEnabled=1 MAPSensorBar=7 FixedMaxRPMLimitEnabled=1 Cyl4Engine=1 Cyl6Engine=1 "
         "GPIO2Mode=2 GPIO2BurnRPMLim=4100 GPIO3Mode=3 GPIO3LaunchRPM=3100 GPIO3ShiftRPM1=5100 "
         "GPIO3ShiftRPM2=5200 GPIO3ShiftRPM3=5300 GPIO3ShiftRPM4=5400 GPIO3ShiftRPM5=5500 "
         "GPIO3ShortShiftRPM=600 GPIO3ShiftDropRPM=700",
         {h("1 bar MAP Sensor"), alone("6 Cylinder Engine"), h("GPIO2 Burnout RPM Limit"),
          v("Burnout RPM Limit:", "4100"), v("Launch RPM:", "3100"), v("Gear 1 Shift RPM:", "5100"),
          v("Gear 2 Shift RPM:", "5200"), v("Gear 3 Shift RPM:", "5300"),
          v("Gear 4 Shift RPM:", "5400"), v("Gear 5 Shift RPM:", "5500"),
          v("Short Shift RPM:", "600"), v("Minimum Shift Drop RPM:", "700")}},
    };
    for (const auto& c : cases) {
        ReportInput in = input();
        test::variables(in.parameters, c.set);
        const auto page = parameterPage(in);
        for (const auto& line : c.present) EXPECT_EQ(std::ranges::count(page, line), 1) << line;
        for (const auto& line : c.absent) EXPECT_EQ(std::ranges::count(page, line), 0) << line;
        EXPECT_EQ(std::ranges::count(page, h("Serial/Comment: ")), 0) << "no comment";
    }
}

// With a table: the chart page, the table page in two blocks of one line per grid row, then
// the parameter page; without one, the parameter page alone.
TEST(Report, DocumentsAndTheTableBlocks) {
    for (const int rows : {2, 9}) {
        ReportInput in = input();
        (rows == 2 ? in.parameters.Table2DEnabled : in.parameters.Table3DEnabled) = true;
        for (int r = 0; r < rows; ++r) {
            in.grid.emplace_back();
            for (int c = 0; c < 22; ++c) in.grid.back().push_back(std::to_string(r * 100 + c));
        }
        const auto documents = buildReport(in);
        ASSERT_EQ(documents.size(), 3u);
        const PrintBlock& table = documents[1].blocks[0];
        EXPECT_EQ(std::tuple(documents[0].chart, documents[0].blocks[0].topTwips, table.topTwips),
                  std::tuple(true, 500, 2000));
        auto lines = texts(table.lines);
        ASSERT_EQ(lines.size(), 5u + rows + 2 + rows);
        EXPECT_EQ(lines[3], h("Timing Table"));
        in.comment = "SN 4711";
        EXPECT_EQ(texts(buildReport(in)[1].blocks[0].lines)[2], h("Serial/Comment: SN 4711"))
            << "the comment on the table page too";
        std::string first(9, ' ');
        for (int c = 0; c < 12; ++c) first += FixedField(std::to_string(c));
        EXPECT_EQ(lines[5], first) << "the first block: columns 0 to 11";
        EXPECT_EQ(lines[5 + rows + 2 + 1].substr(9, 16), FixedField("100") + FixedField("112"));
    }
    ReportInput none = input();
    none.comment = "x";
    const auto documents = buildReport(none);
    ASSERT_EQ(documents.size(), 1u);
    // The heading and comment once, in the one block.
    EXPECT_EQ(std::tuple(documents[0].chart, documents[0].blocks.size(),
                         documents[0].blocks.front().topTwips),
              std::tuple(false, 1u, 2000));
}

}  // namespace
}  // namespace qz
