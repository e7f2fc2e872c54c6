#pragma once

#include <string>
#include <vector>

#include "core/module_data.h"
#include "image/table_layout.h"

namespace qz {

// One piece of a printed line: a text at a character column (1 is the left edge), or, with
// column 0, straight after the piece before it.
struct PrintItem {
    int column = 0;
    std::string text;
    bool operator==(const PrintItem&) const = default;
};

// A printed line; no items is a blank line.
using PrintLine = std::vector<PrintItem>;

// Lines printed from a vertical position, in twips from the top of the page.
struct PrintBlock {
    int topTwips = 0;
    std::vector<PrintLine> lines;
};

// One print document: its text blocks and, for the first one with a table enabled, the
// chart of that table.
struct ReportDocument {
    std::vector<PrintBlock> blocks;
    bool chart = false;
};

// What the report is made from.
struct ReportInput {
    ParameterVariables parameters;
    std::string firmwareId;
    std::string company;  // CompanyInfo item 1
    std::string comment;  // empty: no comment lines
    std::string printed;  // the date and time of printing, in the system's short date and long time
    // The texts of the selected table's grid, rows 0.. and columns 0..21 (2 rows for the 2D
    // table, 9 for the 3D table).
    std::vector<std::vector<std::string>> grid;
};

// The report's documents: the chart page and the table page when a table is enabled, then
// the parameter page; without a table the parameter page alone, its heading printed once.
std::vector<ReportDocument> buildReport(const ReportInput& input);

// A line as characters: each item padded out to its column.
std::string lineText(const PrintLine& line);

}  // namespace qz
