#include "qz1/edits.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>

#include "image/table_layout.h"
#include "qz1/bad_input.h"

namespace qz1 {
namespace {

using Json = nlohmann::json;

std::string rangeOf(const qz::ParameterVariable& variable) {
    switch (variable.kind()) {
        case qz::VariableKind::Boolean:
            return "true or false";
        case qz::VariableKind::Byte:
            return "a byte, 0..255";
        case qz::VariableKind::Integer:
            return "an Integer, -32768..32767";
    }
    return {};
}

[[noreturn]] void fail(const std::string& origin, const std::string& problem) {
    throw BadInput(origin + ": " + problem);
}

Edit variableEdit(const qz::ParameterVariable& variable, long long value, const std::string& origin,
                  std::string_view shown) {
    if (!variable.fits(value))
        fail(origin, "value " + std::string(shown) + " is out of range for " +
                         std::string(variable.name()) + " (" + rangeOf(variable) + ")");
    Edit edit;
    edit.variable = &variable;
    edit.integer = value;
    edit.origin = origin;
    return edit;
}

Edit cellEdit(int column, int row, double advance, const std::string& origin) {
    if (!std::isfinite(advance)) fail(origin, "an advance must be a finite number of degrees");
    Edit edit;
    edit.target = row == 0 ? Edit::Target::Table2DCell : Edit::Target::Table3DCell;
    edit.column = column;
    edit.row = row;
    edit.advance = advance;
    edit.origin = origin;
    return edit;
}

template <typename Number>
std::optional<Number> parseWhole(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "[n]" at the start of `text`: the number, and `text` moves past it.
std::optional<int> takeIndex(std::string_view& text) {
    if (text.empty() || text.front() != '[') return std::nullopt;
    const auto close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    const auto index = parseWhole<int>(text.substr(1, close - 1));
    text.remove_prefix(close + 1);
    return index;
}

// Table2D[c] gives (c, 0); Table3D[c][r] gives (c, r); anything else nullopt.
std::optional<std::pair<int, int>> cellName(std::string_view name, const std::string& origin) {
    const bool is2D = name.starts_with("Table2D[");
    if (!is2D && !name.starts_with("Table3D[")) return std::nullopt;
    std::string_view rest = name.substr(7);
    const auto column = takeIndex(rest);
    const auto row = is2D ? std::optional<int>(0) : takeIndex(rest);
    if (!column || !row || !rest.empty())
        fail(origin, is2D ? "a 2D cell is named Table2D[c]" : "a 3D cell is named Table3D[c][r]");
    if (*column < 1 || *column > qz::kRpmBreakpoints)
        fail(origin, "column " + std::to_string(*column) + " is outside 1.." +
                         std::to_string(qz::kRpmBreakpoints));
    if (!is2D && (*row < 1 || *row > qz::kPressureRows))
        fail(origin,
             "row " + std::to_string(*row) + " is outside 1.." + std::to_string(qz::kPressureRows));
    return std::pair{*column, *row};
}

long long wholeJsonNumber(const Json& value, const std::string& origin) {
    if (value.is_number_integer()) {
        if (value.is_number_unsigned() && value.get<unsigned long long>() > 1ULL << 62)
            fail(origin, "value " + value.dump() + " is out of range");
        return value.get<long long>();
    }
    if (!value.is_number()) fail(origin, "expected a number, found " + value.dump());
    const double number = value.get<double>();
    if (number != std::floor(number))
        fail(origin, "value " + value.dump() + " is not a whole number");
    if (std::fabs(number) > 1e15) fail(origin, "value " + value.dump() + " is out of range");
    return static_cast<long long>(number);
}

double jsonAdvance(const Json& value, const std::string& origin) {
    if (!value.is_number()) fail(origin, "expected an advance in degrees, found " + value.dump());
    return value.get<double>();
}

const Json& jsonArray(const Json& value, std::size_t size, const std::string& origin) {
    if (!value.is_array() || value.size() != size)
        fail(origin, "expected an array of " + std::to_string(size) + " values");
    return value;
}

}  // namespace

Edit parseSetArgument(std::string_view argument) {
    const std::string origin = "--set " + std::string(argument);
    const auto equals = argument.find('=');
    if (equals == std::string_view::npos) fail(origin, "expected NAME=VALUE");
    const std::string_view name = argument.substr(0, equals);
    const std::string_view text = argument.substr(equals + 1);

    if (const auto cell = cellName(name, origin)) {
        double advance = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), advance);
        if (text.empty() || error != std::errc() || end != text.data() + text.size())
            fail(origin, "expected an advance in degrees, found \"" + std::string(text) + "\"");
        return cellEdit(cell->first, cell->second, advance, origin);
    }
    const qz::ParameterVariable* variable = qz::findParameter(name);
    if (!variable) fail(origin, "unknown variable name \"" + std::string(name) + "\"");
    if (variable->kind() == qz::VariableKind::Boolean) {
        if (text != "true" && text != "false")
            fail(origin,
                 std::string(name) + " takes true or false, not \"" + std::string(text) + "\"");
        return variableEdit(*variable, text == "true" ? 1 : 0, origin, text);
    }
    const auto value = parseWhole<long long>(text);
    if (!value) {
        const bool digitsOnly =
            !text.empty() && text.find_first_not_of("+-0123456789") == std::string_view::npos;
        fail(origin, digitsOnly ? "value " + std::string(text) + " is out of range for " +
                                      std::string(name) + " (" + rangeOf(*variable) + ")"
                                : "expected a whole number, found \"" + std::string(text) + "\"");
    }
    return variableEdit(*variable, *value, origin, text);
}

std::vector<Edit> parseJsonEdits(const std::string& text, const std::string& fileName) {
    Json json;
    try {
        json = Json::parse(text);
    } catch (const Json::parse_error& error) {
        fail(fileName, "malformed JSON at byte " + std::to_string(error.byte));
    } catch (const Json::exception&) {
        // A number too large for a double, for one, is no parse error to the library.
        fail(fileName, "a number in the JSON is out of range");
    }
    if (!json.is_object()) fail(fileName, "expected one JSON object of variables");

    std::vector<Edit> edits;
    for (const auto& [name, value] : json.items()) {
        const std::string origin = fileName + ": " + name;
        if (name == "Table2D") {
            for (int c = 1; c <= qz::kRpmBreakpoints; ++c) {
                const Json& cell =
                    jsonArray(value, qz::kRpmBreakpoints, origin)[static_cast<std::size_t>(c - 1)];
                const std::string where = fileName + ": Table2D[" + std::to_string(c) + "]";
                edits.push_back(cellEdit(c, 0, jsonAdvance(cell, where), where));
            }
            continue;
        }
        if (name == "Table3D") {
            for (int r = 1; r <= qz::kPressureRows; ++r) {
                const Json& row = jsonArray(
                    jsonArray(value, qz::kPressureRows, origin)[static_cast<std::size_t>(r - 1)],
                    qz::kRpmBreakpoints, origin + "[" + std::to_string(r) + "]");
                for (int c = 1; c <= qz::kRpmBreakpoints; ++c) {
                    const std::string where = fileName + ": Table3D[" + std::to_string(c) + "][" +
                                              std::to_string(r) + "]";
                    edits.push_back(cellEdit(
                        c, r, jsonAdvance(row[static_cast<std::size_t>(c - 1)], where), where));
                }
            }
            continue;
        }
        const qz::ParameterVariable* variable = qz::findParameter(name);
        if (!variable) fail(fileName, "unknown variable name \"" + name + "\"");
        if (value.is_null()) continue;  // a value show could not decode: not set
        if (variable->kind() == qz::VariableKind::Boolean) {
            if (!value.is_boolean()) fail(origin, "expected true or false, found " + value.dump());
            edits.push_back(
                variableEdit(*variable, value.get<bool>() ? 1 : 0, origin, value.dump()));
        } else {
            edits.push_back(
                variableEdit(*variable, wholeJsonNumber(value, origin), origin, value.dump()));
        }
    }
    return edits;
}

void applyEdits(const std::vector<Edit>& edits, qz::ModuleData& data) {
    for (const auto& edit : edits) {
        switch (edit.target) {
            case Edit::Target::Variable:
                edit.variable->set(data, edit.integer);
                break;
            case Edit::Target::Table2DCell:
                data.Table2D(edit.column, 1) = edit.advance;
                break;
            case Edit::Target::Table3DCell:
                data.Table3D(edit.column, edit.row) = edit.advance;
                break;
        }
    }
}

}  // namespace qz1
