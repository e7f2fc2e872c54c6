#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

#include "core/module_data.h"

namespace qz {

enum class VariableKind { Boolean, Byte, Integer };

// One parameter variable by name, so that tools can read and write the variables by the
// names the program uses (TrigTiming, GPIO2VSSFreq, ...).
class ParameterVariable {
  public:
    using Member = std::variant<bool ParameterVariables::*, std::uint8_t ParameterVariables::*,
                                std::int16_t ParameterVariables::*>;

    constexpr ParameterVariable(std::string_view name, Member member)
        : name_(name), member_(member) {}

    std::string_view name() const { return name_; }
    VariableKind kind() const { return static_cast<VariableKind>(member_.index()); }

    // The value as a number (a Boolean gives 1 or 0).
    long long get(const ParameterVariables& variables) const;

    // Whether `value` fits the variable's type (a Boolean takes 0 or 1 here).
    bool fits(long long value) const;

    // Stores a value that fits().
    void set(ParameterVariables& variables, long long value) const;

  private:
    std::string_view name_;
    Member member_;
};

// Every parameter variable, in the order of their image addresses.
std::span<const ParameterVariable> parameterCatalog();

// The variable of that exact name, or nullptr.
const ParameterVariable* findParameter(std::string_view name);

}  // namespace qz
