#include "qz1/command_line.h"

#include <QCommandLineParser>
#include <algorithm>

#include "qz1/bad_input.h"

namespace qz1 {
namespace {

QString bare(const std::string& name) {
    return QString::fromStdString(name.substr(name.find_first_not_of('-')));
}

// An option the parser knows, under the name the tool's messages give it.
struct Known {
    QCommandLineOption option;
    std::string name;
    bool repeats;
};

std::vector<Known> knownOptions(const Command& command) {
    std::vector<Known> known;
    for (const auto& parameter : command.synopsis) {
        if (parameter.positional()) continue;
        QCommandLineOption option(bare(parameter.name));
        if (!parameter.value.empty()) option.setValueName(QString::fromStdString(parameter.value));
        known.push_back({option, parameter.name, parameter.use == Parameter::Use::Repeats});
    }
    for (const auto& common : commonOptions()) {
        QStringList names;
        for (const auto& name : common.names) names << bare(name);
        known.push_back({QCommandLineOption(names), common.names.back(), false});
    }
    return known;
}

// Qt names an unknown option without its dashes; the message shows it as it was typed.
std::string asTyped(const QString& unknown, const std::vector<std::string>& arguments) {
    for (const auto& argument : arguments) {
        const auto start = argument.find_first_not_of('-');
        if (start == 0 || start == std::string::npos) continue;
        if (argument.substr(start, argument.find('=') - start) == unknown.toStdString())
            return argument.substr(0, argument.find('='));
    }
    return unknown.toStdString();
}

// The positionals and the options the usage shows without brackets, joined by "and".
std::string needed(const Command& command) {
    std::string text;
    for (const auto& parameter : command.synopsis)
        if (parameter.positional() || parameter.use == Parameter::Use::Required)
            text += (text.empty() ? "" : " and ") + parameter.shown();
    return text;
}

}  // namespace

const std::vector<CommonOption>& commonOptions() {
    static const std::vector<CommonOption> options = {
        {{"--verbose"}, "trace every byte exchanged with the module on stderr."},
        {{"-h", "--help"}, "this usage; after a command, that command's alone."},
    };
    return options;
}

std::optional<std::string> Arguments::value(std::string_view option) const {
    for (const auto& [name, value] : options_)
        if (name == option) return value;
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> Arguments::values(
    std::initializer_list<std::string_view> options) const {
    std::vector<std::pair<std::string, std::string>> found;
    for (const auto& given : options_)
        if (std::find(options.begin(), options.end(), given.first) != options.end())
            found.push_back(given);
    return found;
}

Arguments parseArguments(const Command& command, const std::vector<std::string>& arguments) {
    QCommandLineParser parser;
    // "-o" is a name like "--json"; no bundling of single letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const std::vector<Known> known = knownOptions(command);
    for (const auto& option : known) parser.addOption(option.option);
    QStringList list{QString::fromStdString(command.name)};  // the parser skips the first
    for (const auto& argument : arguments) list << QString::fromStdString(argument);
    if (!parser.parse(list)) {
        if (!parser.unknownOptionNames().isEmpty())
            throw BadInput(command.name + ": unknown option \"" +
                           asTyped(parser.unknownOptionNames().front(), arguments) + "\"");
        // Qt takes the next argument as a value whatever it is, so only the last one can
        // miss its value.
        const std::string& last = arguments.back();
        const bool missing = std::any_of(known.begin(), known.end(), [&](const Known& k) {
            return k.name == last && !k.option.valueName().isEmpty();
        });
        throw BadInput(command.name + ": " +
                       (missing ? last + " needs a value" : parser.errorText().toStdString()));
    }

    // Qt lists each option found, as often as it was found, in order; their values come
    // per option, also in order.
    Arguments parsed;
    std::vector<int> taken(known.size(), 0);
    for (const QString& name : parser.optionNames()) {
        const auto k = std::find_if(known.begin(), known.end(), [&](const Known& option) {
            return option.option.names().contains(name);
        });
        const auto index = static_cast<std::size_t>(k - known.begin());
        const QStringList values = parser.values(k->option);
        const std::string value =
            values.isEmpty() ? std::string() : values.at(taken[index]).toStdString();
        if (++taken[index] > 1 && !k->repeats && k->name != "--help")
            throw BadInput(command.name + ": " + k->name + " given twice");
        parsed.options_.emplace_back(k->name, value);
    }
    if (parsed.isSet("--help")) return parsed;

    for (const QString& positional : parser.positionalArguments())
        parsed.positionals_.push_back(positional.toStdString());
    const auto positionals = static_cast<std::size_t>(
        std::count_if(command.synopsis.begin(), command.synopsis.end(),
                      [](const Parameter& parameter) { return parameter.positional(); }));
    if (parsed.positionals_.size() > positionals)
        throw BadInput(command.name + ": unexpected argument \"" +
                       parsed.positionals_[positionals] + "\"");
    const bool requiredMissing =
        std::any_of(command.synopsis.begin(), command.synopsis.end(), [&](const Parameter& p) {
            return p.use == Parameter::Use::Required && !parsed.isSet(p.name);
        });
    if (parsed.positionals_.size() < positionals || requiredMissing)
        throw BadInput(command.name + " needs " + needed(command));
    return parsed;
}

}  // namespace qz1
