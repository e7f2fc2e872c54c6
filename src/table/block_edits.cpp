#include "table/block_edits.h"

#include <algorithm>
#include <cmath>

#include "core/leading_number.h"
#include "core/module_data.h"
#include "core/rounding.h"

namespace qz {
namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

double withinTimingRange(double value, int trigTiming) {
    if (value < trigTiming - kTimingRange) return trigTiming - kTimingRange;
    if (value > trigTiming) return trigTiming;
    return value;
}

}  // namespace

ModifyEntry parseModifyEntry(const std::string& entry) {
    const std::string text = trimmed(entry);
    ModifyEntry parsed;
    parsed.percent = text.find('%') != std::string::npos;
    parsed.relative = text.find('+') != std::string::npos || text.find('-') != std::string::npos;
    std::string number;
    std::copy_if(text.begin(), text.end(), std::back_inserter(number),
                 [](char c) { return c != '%' && c != '+'; });
    parsed.amount = leadingNumber(number);
    return parsed;
}

double modifiedValue(const ModifyEntry& entry, double old, double upper) {
    double value = entry.amount;
    if (entry.percent)
        value = entry.relative ? (entry.amount / 100 + 1) * old : entry.amount / 100 * old;
    else if (entry.relative)
        value = old + entry.amount;
    if (!std::isfinite(value)) value = 0;  // "1e400%" of 0 is no number, as text without one
    return std::clamp(value, 0.0, upper);
}

std::string modifyPrompt() {
    return "Enter a new value. See examples below or Help for details.\r\n"
           "   Enter 30 to set all cells in selection to 30\r\n"
           "   Enter -5 to subtract 5 from each cell in selection\r\n"
           "   Enter +10 to add 10 to each cell in selection\r\n"
           "   Enter 80% to multiply each cell in selection by 80%\r\n"
           "   Enter -7.5% to reduce each cell in selection by 7.5%\r\n"
           "   Enter +15% to increase each cell in selection by 15%";
}

QString foldLineEnds(const QString& text) {
    QString folded = text;
    folded.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    folded.replace(u'\n', u'\r');
    if (folded.endsWith(u'\r')) folded.chop(1);
    return folded;
}

QString withPlatformLineEnds(const QString& blockText) {
    QString text = blockText;
#ifdef Q_OS_WIN
    text.replace(u'\r', QStringLiteral("\r\n"));
#else
    text.replace(u'\r', u'\n');
#endif
    return text;
}

CellBlock pasteTarget(const CellBlock& selection, int rowSpan, int columnSpan, int lastRow,
                      int lastColumn) {
    CellBlock target = selection;
    if (rowSpan != 0 || columnSpan != 0) {
        target.bottom = target.top + rowSpan;
        target.right = target.left + columnSpan;
    }
    if (lastRow == 1) target.top = target.bottom = 1;
    target.top = std::max(target.top, 1);
    target.left = std::max(target.left, 1);
    target.bottom = std::min(target.bottom, lastRow);
    target.right = std::min(target.right, lastColumn);
    return target;
}

std::vector<std::vector<double>> interpolated(const std::vector<std::vector<double>>& values) {
    std::vector<std::vector<double>> result = values;
    const std::size_t rows = values.size();
    const std::size_t columns = rows ? values[0].size() : 0;
    if (rows == 0 || columns == 0) return result;
    const double topLeft = values[0][0];
    const double topRight = values[0][columns - 1];
    const double bottomLeft = values[rows - 1][0];
    const double bottomRight = values[rows - 1][columns - 1];
    for (std::size_t r = 0; r < rows; ++r)
        for (std::size_t c = 0; c < columns; ++c) {
            const double u = columns > 1 ? static_cast<double>(c) / (columns - 1) : 0;
            const double v = rows > 1 ? static_cast<double>(r) / (rows - 1) : 0;
            // Weighted, not as differences, so that no difference of two large values runs
            // beyond a double.
            const double top = topLeft * (1 - u) + topRight * u;
            const double bottom = bottomLeft * (1 - u) + bottomRight * u;
            const double value = top * (1 - v) + bottom * v;
            result[r][c] = std::isfinite(value) ? value : 0;
        }
    return result;
}

bool hasInnerCells(const CellBlock& block) {
    return block.bottom - block.top >= 2 || block.right - block.left >= 2;
}

std::vector<std::vector<double>> smoothed(const std::vector<std::vector<double>>& values,
                                          double lowest, double highest) {
    std::vector<std::vector<double>> result = values;
    const int rows = static_cast<int>(values.size());
    const int columns = rows ? static_cast<int>(values[0].size()) : 0;
    // Along an axis of fewer than three cells nothing is averaged.
    const int reachDown = rows >= 3 ? 1 : 0;
    const int reachAcross = columns >= 3 ? 1 : 0;
    const double total = (reachDown ? 4 : 1) * (reachAcross ? 4 : 1);
    const auto weight = [](int offset, int reach) { return reach ? 2 - offset * offset : 1; };
    const auto at = [&](int r, int c) {
        return values[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
    };
    for (int r = reachDown; r < rows - reachDown; ++r)
        for (int c = reachAcross; c < columns - reachAcross; ++c) {
            // Each weight is taken as its share of the whole, so that no sum of large values
            // runs beyond a double.
            double value = 0;
            for (int dr = -reachDown; dr <= reachDown; ++dr)
                for (int dc = -reachAcross; dc <= reachAcross; ++dc)
                    value += weight(dr, reachDown) * weight(dc, reachAcross) / total *
                             at(r + dr, c + dc);
            result[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                std::clamp(value, lowest, highest);
        }
    return result;
}

double lowestAdvance(int trigTiming, TableKind kind) {
    const int lowest = trigTiming - kTimingRange;
    return kind == TableKind::Table2D ? std::max(lowest, 0) : lowest;
}

double dragged2D(double startValue, int startY, int y, int trigTiming) {
    const double value = roundHalfEven(startValue * 5 + 0.5 * (startY - y)) * 0.2;
    const double lowest = lowestAdvance(trigTiming, TableKind::Table2D);
    if (value < lowest) return lowest;
    return std::min(value, static_cast<double>(trigTiming));
}

double dragged3D(double z, int trigTiming) {
    return withinTimingRange(roundHalfEven(z * 5) * 0.2, trigTiming);
}

double dragOffset(double z, double current) {
    return std::clamp(roundHalfEven((z - current) * 2) * 0.2, -5.0, 5.0);
}

double shifted(double value, double offset, int trigTiming) {
    return withinTimingRange(value + offset, trigTiming);
}

std::optional<std::string> typedAdvanceRefusal(const std::string& text, int trigTiming, bool is3D) {
    const double value = leadingNumber(text);
    const int lowest = trigTiming - kTimingRange;
    const bool inRange = isNumericWhole(text) && value >= lowest && value <= trigTiming;
    if (is3D ? inRange : inRange && value >= 0) return std::nullopt;
    if (is3D)
        return "Timing must be numeric value between " + std::to_string(lowest) + " and " +
               std::to_string(trigTiming) + " degrees.";
    return "Timing must be numeric value greater than zero and within " +
           std::to_string(kTimingRange) + " degrees of trigger timing.";
}

}  // namespace qz
