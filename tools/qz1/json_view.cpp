#include "qz1/json_view.h"

#include <algorithm>

#include "image/parameter_catalog.h"
#include "image/table_layout.h"

namespace qz1 {

nlohmann::ordered_json tuneToJson(const qz::ModuleData& data,
                                  const std::vector<std::string>& undecodable) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (const auto& variable : qz::parameterCatalog()) {
        const long long value = variable.get(data);
        if (std::find(undecodable.begin(), undecodable.end(), variable.name()) != undecodable.end())
            json[std::string(variable.name())] = nullptr;
        else if (variable.kind() == qz::VariableKind::Boolean)
            json[std::string(variable.name())] = value != 0;
        else
            json[std::string(variable.name())] = value;
    }
    auto& table2D = json["Table2D"] = nlohmann::ordered_json::array();
    for (int c = 1; c <= qz::kRpmBreakpoints; ++c) table2D.push_back(data.Table2D(c, 1));
    auto& table3D = json["Table3D"] = nlohmann::ordered_json::array();
    for (int r = 1; r <= qz::kPressureRows; ++r) {
        auto row = nlohmann::ordered_json::array();
        for (int c = 1; c <= qz::kRpmBreakpoints; ++c) row.push_back(data.Table3D(c, r));
        table3D.push_back(row);
    }
    return json;
}

}  // namespace qz1
