#pragma once

#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qz1 {

// One item of a command's synopsis, in the order its usage shows them: a positional
// argument ("FILE") or an option ("-o", "--trigger") with the name of its value, none for a
// flag. Positionals are always needed.
struct Parameter {
    enum class Use { Once, Required, Repeats };
    std::string name;
    std::string value = {};
    Use use = Use::Once;

    bool positional() const { return !name.starts_with('-'); }
    // As the usage shows it: "FILE", "-o OUT", "[--trigger DEG]", "[--set NAME=VALUE ...]".
    std::string shown() const;
};

// The options every command takes besides its synopsis, each under all its names.
struct CommonOption {
    std::vector<std::string> names;
    std::string about;
};
const std::vector<CommonOption>& commonOptions();

class Arguments;

// A command as data: the parser and the usage are both made from its synopsis.
struct Command {
    std::string name;
    std::vector<Parameter> synopsis;
    std::string about;
    int (*run)(const Arguments& arguments, std::ostream& out, std::ostream& err);
};

// A command's arguments as parsed: the positionals, and each option with its value (empty
// for a flag), both in the order given.
class Arguments {
  public:
    const std::string& positional(std::size_t index) const { return positionals_.at(index); }
    bool isSet(std::string_view option) const { return value(option).has_value(); }
    // The value of an option that is given at most once.
    std::optional<std::string> value(std::string_view option) const;
    // The values of repeating options as (option, value): edits keep their order across
    // --set and --json.
    std::vector<std::pair<std::string, std::string>> values(
        std::initializer_list<std::string_view> options) const;

  private:
    friend Arguments parseArguments(const Command&, const std::vector<std::string>&);
    std::vector<std::string> positionals_;
    std::vector<std::pair<std::string, std::string>> options_;
};

// Parses what follows a command's name; options may come before or after the positionals.
// Every command also takes --verbose, and -h or --help, which skips the other checks. Throws
// BadInput, one line naming the problem: an unknown option, a missing value, an option given
// twice that does not repeat, a positional too many, or a needed one missing.
Arguments parseArguments(const Command& command, const std::vector<std::string>& arguments);

// The usage of the commands given: all of them for `qz1 --help`, one for `qz1 CMD --help`.
std::string usageOf(const std::vector<Command>& commands);

}  // namespace qz1
