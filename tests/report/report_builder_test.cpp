#include "report/report_builder.h"

#include <gtest/gtest.h>

#include "report/fixed_field.h"

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

bool contains(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

std::string at(int labelColumn, const std::string& label, const std::string& value) {
    std::string line(static_cast<std::size_t>(labelColumn - 1), ' ');
    line += label;
    line.resize(49, ' ');
    return line + value;
}

TEST(FixedField, RightAlignsAndCutsToTheWidth) {
    EXPECT_EQ(FixedField("25.0"), "    25.0");
    EXPECT_EQ(FixedField("MAP/RPM"), " MAP/RPM");
    EXPECT_EQ(FixedField("123456789"), "12345678");
    EXPECT_EQ(FixedField(""), "        ");
}

TEST(Report, TheParameterPageLineByLine) {
    ReportInput in = input();
    in.comment = "SN 4711";
    auto& p = in.parameters;
    p.FixedMaxRPMLimitEnabled = true;
    p.MaxRPMLimit = 6500;
    p.Cyl4Engine = true;
    p.StartRetard = 57;
    p.RetardComp = 51;
    p.CrankPulses = 6;
    p.Table3DEnabled = true;
    p.MAPSensorBar = 2;
    p.TrigTiming = 28;
    p.GPI1Mode = 0x32;
    p.GPIO2Mode = 0x34;
    p.GPIO2Delay = 16;
    p.GPIO3Mode = 0x02;
    const std::string pad(9, ' ');
    const std::vector<std::string> expected = {
        pad + "Kelvane QZ-1 Ignition Module Data Printed: 06/12/2026 11:30:00",
        "",
        pad + "Serial/Comment: SN 4711",
        pad + "Firmware ID:" + std::string(8, ' ') + "QZ-1 V2.1",
        "",
        pad + "Module Parameters",
        "",
        pad + "General Options",
        at(10, "RPM Limit Disabled:", "False"),
        at(10, "Multi-Spark Disabled:", "False"),
        at(10, "Timing Functions Disabled:", "False"),
        at(10, "Fixed Maximum RPM Limit Enabled:", "True"),
        at(10, "Fixed Maximum RPM Limit:", "6500"),
        std::string(49, ' ') + "4 Cylinder Engine",
        at(10, "Automatic Start Retard Enabled:", "True"),
        at(10, "Start Retard (Deg):", "5"),
        at(10, "High Speed Data Logging Enabled:", "False"),
        at(10, "Cranking Pulses:", " 6 "),
        at(10, "Retard Compensation (Deg):", "4.5"),
        "",
        pad + "Timing Table Options",
        pad + "3D Timing Table Enabled",
        pad + "3 bar MAP Sensor",
        at(10, "Trigger Signal Timing (Deg):", "28.0"),
        "",
        pad + "General Purpose Input/Ouput Parameters",
        pad + "GPI1 TPS Analog NOS Enable",
        at(10, "TPS Off Volts:", "4.0"),
        at(10, "TPS On Volts:", "4.2"),
        at(10, "NOS Retard (Deg):", "0"),
        "",
        pad + "GPIO2 NOS Trigger",
        at(10, "Minimum RPM:", "3000"),
        at(10, "Maximum RPM:", "6000"),
        at(10, "NOS Delay (Sec):", "0.50"),
        at(10, "One-Shot Delay Enabled:", "False"),
        "",
        pad + "GPIO3 Basic Shift Light",
        at(10, "Shift RPM:", "5000"),
    };
    const auto page = parameterPage(in);
    ASSERT_EQ(page.size(), expected.size());
    for (std::size_t i = 0; i < page.size(); ++i) EXPECT_EQ(page[i], expected[i]) << i;
}

TEST(Report, ConditionalLinesFollowTheirVariables) {
    const struct {
        const char* why;
        void (*set)(ParameterVariables&);
        std::vector<std::string> present;
        std::vector<std::string> absent;
    } cases[] = {
        {"fixed limit off",
         [](ParameterVariables& p) { p.FixedMaxRPMLimitEnabled = false; },
         {at(10, "Fixed Maximum RPM Limit Enabled:", "False")},
         {at(10, "Fixed Maximum RPM Limit:", "3000"), std::string(49, ' ') + "8 Cylinder Engine"}},
        {"no start retard",
         [](ParameterVariables& p) { p.StartRetard = 0; },
         {at(10, "Automatic Start Retard Enabled:", "False")},
         {at(10, "Start Retard (Deg):", "0")}},
        {"GPIO2 3F",
         [](ParameterVariables& p) { p.GPIO2Mode = 0x3F; },
         {std::string(9, ' ') + "GPIO2 Data Log Only (Default)"},
         {}},
        {"2D table",
         [](ParameterVariables& p) { p.Table2DEnabled = true; },
         {std::string(9, ' ') + "2D Timing Table Enabled"},
         {std::string(9, ' ') + "1 bar MAP Sensor"}},
        {"sensor code 7",
         [](ParameterVariables& p) { p.Table3DEnabled = true, p.MAPSensorBar = 7; },
         {std::string(9, ' ') + "1 bar MAP Sensor"},
         {}},
        {"GPI1 digital retard",
         [](ParameterVariables& p) { p.GPI1Mode = 4, p.GPI1Retard = 114; },
         {std::string(9, ' ') + "GPI1 Digital Retard", at(10, "Retard (Deg):", "10")},
         {}},
        {"GPIO3 multi-stage",
         [](ParameterVariables& p) { p.GPIO3Mode = 0x13; },
         {std::string(9, ' ') + "GPIO3 Multi-Stage Shift Light", at(10, "Launch RPM:", "3000"),
          at(10, "Minimum Shift Drop RPM:", "500")},
         {}},
        {"GPIO2 VSS",
         [](ParameterVariables& p) { p.GPIO2Mode = 1; },
         {std::string(9, ' ') + "GPIO2 Vehicle Speed Input", at(10, "VSS Frequency:", "150")},
         {}},
        {"both cylinder flags",
         [](ParameterVariables& p) {
             p.FixedMaxRPMLimitEnabled = p.Cyl4Engine = p.Cyl6Engine = true;
         },
         {std::string(49, ' ') + "6 Cylinder Engine"},
         {}},
        {"GPI1 0B: the low four bits",
         [](ParameterVariables& p) { p.GPI1Mode = 0x0B; },
         {std::string(9, ' ') + "GPI1 Data Log Only (Default)"},
         {}},
        // A distinct value in every variable, so that no line shows another's.
        {"GPI1 TPS",
         [](ParameterVariables& p) {
             p.GPI1Mode = 2, p.GPI1OffTPS = 51, p.GPI1OnTPS = 153, p.GPI1Retard = 57;
         },
         {at(10, "TPS Off Volts:", "1.0"), at(10, "TPS On Volts:", "3.0"),
          at(10, "NOS Retard (Deg):", "5")},
         {}},
        {"GPIO2 NOS",
         [](ParameterVariables& p) {
             p.GPIO2Mode = 4, p.GPIO2MinRPM = 2500, p.GPIO2MaxRPM = 7000, p.GPIO2Delay = 31,
             p.GPIO2OneShotDelay = true;
         },
         {at(10, "Minimum RPM:", "2500"), at(10, "Maximum RPM:", "7000"),
          at(10, "NOS Delay (Sec):", "1.00"), at(10, "One-Shot Delay Enabled:", "True")},
         {}},
        {"GPIO2 burnout",
         [](ParameterVariables& p) { p.GPIO2Mode = 2, p.GPIO2BurnRPMLim = 4100; },
         {std::string(9, ' ') + "GPIO2 Burnout RPM Limit", at(10, "Burnout RPM Limit:", "4100")},
         {}},
        {"GPIO3 window",
         [](ParameterVariables& p) { p.GPIO3Mode = 1, p.GPIO3MinRPM = 3300, p.GPIO3MaxRPM = 6600; },
         {std::string(9, ' ') + "GPIO3 RPM Window Switch", at(10, "Minimum RPM:", "3300"),
          at(10, "Maximum RPM:", "6600")},
         {}},
        {"GPIO3 shift lights",
         [](ParameterVariables& p) {
             p.GPIO3Mode = 3, p.GPIO3LaunchRPM = 3100, p.GPIO3ShiftRPM1 = 5100,
             p.GPIO3ShiftRPM2 = 5200, p.GPIO3ShiftRPM3 = 5300, p.GPIO3ShiftRPM4 = 5400,
             p.GPIO3ShiftRPM5 = 5500, p.GPIO3ShortShiftRPM = 600, p.GPIO3ShiftDropRPM = 700;
         },
         {at(10, "Launch RPM:", "3100"), at(10, "Gear 1 Shift RPM:", "5100"),
          at(10, "Gear 2 Shift RPM:", "5200"), at(10, "Gear 3 Shift RPM:", "5300"),
          at(10, "Gear 4 Shift RPM:", "5400"), at(10, "Gear 5 Shift RPM:", "5500"),
          at(10, "Short Shift RPM:", "600"), at(10, "Minimum Shift Drop RPM:", "700")},
         {}},
    };
    for (const auto& c : cases) {
        ReportInput in = input();
        c.set(in.parameters);
        const auto page = parameterPage(in);
        for (const auto& line : c.present)
            EXPECT_TRUE(contains(page, line)) << c.why << ": " << line;
        for (const auto& line : c.absent)
            EXPECT_FALSE(contains(page, line)) << c.why << ": " << line;
        EXPECT_FALSE(contains(page, std::string(9, ' ') + "Serial/Comment: ")) << "no comment";
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
        EXPECT_TRUE(documents[0].chart);
        EXPECT_EQ(documents[0].blocks[0].topTwips, 500);
        const PrintBlock& table = documents[1].blocks[0];
        EXPECT_EQ(table.topTwips, 2000);
        auto lines = texts(table.lines);
        ASSERT_EQ(lines.size(), 5u + rows + 2 + rows);
        EXPECT_EQ(lines[3], std::string(9, ' ') + "Timing Table");
        in.comment = "SN 4711";
        EXPECT_EQ(texts(buildReport(in)[1].blocks[0].lines)[2],
                  std::string(9, ' ') + "Serial/Comment: SN 4711")
            << "the comment on the table page too";
        EXPECT_EQ(lines[5], std::string(9, ' ') + FixedField("0") + FixedField("1") +
                                FixedField("2") + FixedField("3") + FixedField("4") +
                                FixedField("5") + FixedField("6") + FixedField("7") +
                                FixedField("8") + FixedField("9") + FixedField("10") +
                                FixedField("11"));
        EXPECT_EQ(lines[5 + rows + 2 + 1].substr(9, 16), FixedField("100") + FixedField("112"));
    }
    ReportInput none = input();
    none.comment = "x";
    const auto documents = buildReport(none);
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_FALSE(documents[0].chart);
    ASSERT_EQ(documents[0].blocks.size(), 1u) << "the heading and comment once";
    EXPECT_EQ(documents[0].blocks[0].topTwips, 2000);
}

}  // namespace
}  // namespace qz
