#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/module_data.h"
#include "image/parameter_catalog.h"

namespace qz1 {

// One change asked for on the command line or in an edits file.
struct Edit {
    enum class Target { Variable, Table2DCell, Table3DCell };
    Target target = Target::Variable;
    const qz::ParameterVariable* variable = nullptr;  // Target::Variable
    int column = 0;                                   // table cells: c = 1..21
    int row = 0;                                      // Table3D cells: r = 1..8
    long long integer = 0;                            // variables (Booleans as 1 or 0)
    double advance = 0;                               // table cells, in degrees
    std::string origin;                               // for messages: "--set X=1", "edits.json: X"
};

// "NAME=VALUE" with NAME a variable, "Table2D[c]" or "Table3D[c][r]". Booleans are true or
// false, integers whole numbers within their type, advances any finite number. Throws
// BadInput with a line naming the argument and the problem.
Edit parseSetArgument(std::string_view argument);

// An edits file: one JSON object whose members are variables, "Table2D" (21 numbers) and
// "Table3D" (8 arrays of 21 numbers), as `show --json` writes it. Throws BadInput naming
// the file.
std::vector<Edit> parseJsonEdits(const std::string& text, const std::string& fileName);

// Stores the edits in order.
void applyEdits(const std::vector<Edit>& edits, qz::ModuleData& data);

}  // namespace qz1
