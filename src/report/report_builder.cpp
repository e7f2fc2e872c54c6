#include "report/report_builder.h"

#include <cmath>

#include "core/number_text.h"
#include "core/rounding.h"
#include "image/module_names.h"
#include "image/module_units.h"
#include "image/parameter_words.h"
#include "report/fixed_field.h"

namespace qz {
namespace {

constexpr int kLabel = 10;
constexpr int kFirmware = 30;
constexpr int kValue = 50;

// A plain number prints with one blank before it and one after it.
std::string plain(double value) {
    std::string text(1, ' ');
    text.append(plainNumber(value)).append(1, ' ');  // not " " + ...: GCC 12 -O3 warns wrongly
    return text;
}

PrintLine text(const std::string& label) {
    return {{kLabel, label}};
}

PrintLine value(const std::string& label, const std::string& shown) {
    return {{kLabel, label}, {kValue, shown}};
}

class Page {
  public:
    explicit Page(const ReportInput& input) : in_(input), p_(input.parameters) {}

    std::vector<PrintLine> parameters() {
        lines_.clear();
        add(heading());
        blank();
        if (!in_.comment.empty()) add(comment());
        add({{kLabel, "Firmware ID:"}, {kFirmware, in_.firmwareId}});
        blank();
        add(text("Module Parameters"));
        blank();
        general();
        blank();
        timingTable();
        blank();
        add(text("General Purpose Input/Ouput Parameters"));
        gpi1();
        blank();
        gpio2();
        blank();
        gpio3();
        return lines_;
    }

    PrintLine heading() const {
        return text(in_.company + " QZ-1 Ignition Module Data Printed: " + in_.printed);
    }
    PrintLine comment() const { return text("Serial/Comment: " + in_.comment); }

  private:
    void add(PrintLine line) { lines_.push_back(std::move(line)); }
    void blank() { lines_.emplace_back(); }

    void general() {
        add(text("General Options"));
        add(value("RPM Limit Disabled:", truthText(!p_.RPMLimitEnabled)));
        add(value("Multi-Spark Disabled:", truthText(!p_.MultiSparkEnabled)));
        add(value("Timing Functions Disabled:", truthText(!p_.TimingEnabled)));
        add(value("Fixed Maximum RPM Limit Enabled:", truthText(p_.FixedMaxRPMLimitEnabled)));
        if (p_.FixedMaxRPMLimitEnabled) {
            add(value("Fixed Maximum RPM Limit:", formatNumber(p_.MaxRPMLimit, "##00")));
            add({{kValue, p_.Cyl6Engine   ? "6 Cylinder Engine"
                          : p_.Cyl4Engine ? "4 Cylinder Engine"
                                          : "8 Cylinder Engine"}});
        }
        if (p_.StartRetard > 0) {
            add(value("Automatic Start Retard Enabled:", "True"));
            add(value("Start Retard (Deg):", retardDegreesText(p_.StartRetard)));
        } else {
            add(value("Automatic Start Retard Enabled:", "False"));
        }
        add(value("High Speed Data Logging Enabled:", truthText(p_.HighSpeedDataLog)));
        add(value("Cranking Pulses:", plain(p_.CrankPulses)));
        add(value("Retard Compensation (Deg):", retardCompensationText(p_.RetardComp)));
    }

    void timingTable() {
        add(text("Timing Table Options"));
        const std::string trigger = formatNumber(p_.TrigTiming, "#0.0");
        if (p_.Table2DEnabled) {
            add(text("2D Timing Table Enabled"));
            add(value("Trigger Signal Timing (Deg):", trigger));
        } else if (p_.Table3DEnabled) {
            add(text("3D Timing Table Enabled"));
            add(text(mapSensorName(p_.MAPSensorBar) + " MAP Sensor"));
            add(value("Trigger Signal Timing (Deg):", trigger));
        } else {
            add(text("Timing Table Disabled"));
        }
    }

    // The line's heading: its name and its function's; returns the function's code.
    int function(const char* name, GpioLine line, std::uint8_t mode) {
        const GpioFunction& selected = selectedFunction(line, mode);
        add(text(std::string(name) + ' ' + selected.printedName()));
        return selected.code;
    }

    void gpi1() {
        switch (function("GPI1", GpioLine::GPI1, p_.GPI1Mode)) {
            case 1:
                add(value("NOS Retard (Deg):", retardDegreesText(p_.GPI1Retard)));
                return;
            case 2:
                add(value("TPS Off Volts:", voltsText(p_.GPI1OffTPS)));
                add(value("TPS On Volts:", voltsText(p_.GPI1OnTPS)));
                add(value("NOS Retard (Deg):", retardDegreesText(p_.GPI1Retard)));
                return;
            case 4:
                add(value("Retard (Deg):", retardDegreesText(p_.GPI1Retard)));
                return;
        }
    }

    void gpio2() {
        switch (function("GPIO2", GpioLine::GPIO2, p_.GPIO2Mode)) {
            case 1:
                add(value("VSS Frequency:", formatNumber(p_.GPIO2VSSFreq, "###0")));
                return;
            case 2:
                add(value("Burnout RPM Limit:", rpmText(p_.GPIO2BurnRPMLim)));
                return;
            case 3:
                add(value("Minimum RPM:", rpmText(p_.GPIO2MinRPM)));
                add(value("Maximum RPM:", rpmText(p_.GPIO2MaxRPM)));
                return;
            case 4:
                add(value("Minimum RPM:", rpmText(p_.GPIO2MinRPM)));
                add(value("Maximum RPM:", rpmText(p_.GPIO2MaxRPM)));
                add(value("NOS Delay (Sec):", nosDelayText(p_.GPIO2Delay)));
                add(value("One-Shot Delay Enabled:", truthText(p_.GPIO2OneShotDelay)));
                return;
        }
    }

    void gpio3() {
        switch (function("GPIO3", GpioLine::GPIO3, p_.GPIO3Mode)) {
            case 1:
                add(value("Minimum RPM:", rpmText(p_.GPIO3MinRPM)));
                add(value("Maximum RPM:", rpmText(p_.GPIO3MaxRPM)));
                return;
            case 2:
                add(value("Shift RPM:", rpmText(p_.GPIO3ShiftRPM1)));
                return;
            case 3:
                add(value("Launch RPM:", rpmText(p_.GPIO3LaunchRPM)));
                add(value("Gear 1 Shift RPM:", rpmText(p_.GPIO3ShiftRPM1)));
                add(value("Gear 2 Shift RPM:", rpmText(p_.GPIO3ShiftRPM2)));
                add(value("Gear 3 Shift RPM:", rpmText(p_.GPIO3ShiftRPM3)));
                add(value("Gear 4 Shift RPM:", rpmText(p_.GPIO3ShiftRPM4)));
                add(value("Gear 5 Shift RPM:", rpmText(p_.GPIO3ShiftRPM5)));
                add(value("Short Shift RPM:", rpmText(p_.GPIO3ShortShiftRPM)));
                add(value("Minimum Shift Drop RPM:", rpmText(p_.GPIO3ShiftDropRPM)));
                return;
        }
    }

    const ReportInput& in_;
    const ParameterVariables& p_;
    std::vector<PrintLine> lines_;
};

// A line of the table: the fields of the given columns, at column 10.
PrintLine tableLine(const std::vector<std::string>& row, int first, int last, bool label) {
    std::string fields;
    auto cell = [&](int column) {
        return static_cast<std::size_t>(column) < row.size() ? row[static_cast<std::size_t>(column)]
                                                             : std::string();
    };
    if (label) fields += FixedField(cell(0));
    for (int column = first; column <= last; ++column) fields += FixedField(cell(column));
    return {{kLabel, fields}};
}

}  // namespace

std::vector<ReportDocument> buildReport(const ReportInput& input) {
    Page page(input);
    const bool table = input.parameters.Table2DEnabled || input.parameters.Table3DEnabled;
    std::vector<ReportDocument> documents;
    ReportDocument first;
    PrintBlock opening{500, {page.heading()}};
    if (!input.comment.empty()) opening.lines.push_back(page.comment());
    first.blocks.push_back(opening);
    if (table) {
        first.chart = true;
        documents.push_back(first);
        PrintBlock lines{2000, {page.heading(), {}}};
        if (!input.comment.empty()) lines.lines.push_back(page.comment());
        lines.lines.insert(lines.lines.end(), {{}, text("Timing Table"), {}});
        for (const auto& row : input.grid) lines.lines.push_back(tableLine(row, 0, 11, false));
        lines.lines.insert(lines.lines.end(), {{}, {}});
        for (const auto& row : input.grid)
            lines.lines.push_back(tableLine(row, 12, kRpmBreakpoints, true));
        documents.push_back({{lines}, false});
        documents.push_back({{{2000, page.parameters()}}, false});
    } else {
        // One page: its own heading and comment once, at the top of the parameter lines.
        documents.push_back({{{2000, page.parameters()}}, false});
    }
    return documents;
}

std::string lineText(const PrintLine& line) {
    std::string text;
    for (const PrintItem& item : line) {
        if (item.column > 0 && text.size() < static_cast<std::size_t>(item.column - 1))
            text.resize(static_cast<std::size_t>(item.column - 1), ' ');
        text += item.text;
    }
    return text;
}

}  // namespace qz
