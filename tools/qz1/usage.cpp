#include <algorithm>
#include <sstream>

#include "qz1/command_line.h"

namespace qz1 {
namespace {

constexpr std::size_t kWidth = 80;

// The words in lines of at most kWidth columns (a longer word gets a line of its own): the
// first line starts with `first`, the others are indented by `indent` blanks.
std::string wrapped(const std::vector<std::string>& words, const std::string& first,
                    std::size_t indent) {
    std::string text = first;
    std::size_t column = first.size();
    bool lineEmpty = true;
    for (const auto& word : words) {
        if (!lineEmpty && column + 1 + word.size() > kWidth) {
            text += '\n' + std::string(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            text += ' ';
            ++column;
        }
        text += word;
        column += word.size();
        lineEmpty = false;
    }
    return text + '\n';
}

std::vector<std::string> wordsOf(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

}  // namespace

std::string Parameter::shown() const {
    if (positional()) return name;
    const std::string text = value.empty() ? name : name + ' ' + value;
    if (use == Use::Required) return text;
    return '[' + text + (use == Use::Repeats ? " ...]" : "]");
}

std::string usageOf(const std::vector<Command>& commands) {
    std::string usage = "Usage:\n";
    for (const auto& command : commands) {
        const std::string head = "  qz1 " + command.name + ' ';
        std::vector<std::string> synopsis;
        for (const auto& parameter : command.synopsis) synopsis.push_back(parameter.shown());
        usage += wrapped(synopsis, head, head.size());
        usage += wrapped(wordsOf(command.about), "      ", 6);
    }
    usage += "Every command also takes:\n";
    for (const auto& option : commonOptions()) {
        std::string names;
        for (const auto& name : option.names) names += (names.empty() ? "" : ", ") + name;
        names.resize(std::max<std::size_t>(names.size() + 2, 12), ' ');  // "-h, --help" aligned
        usage += wrapped(wordsOf(option.about), "  " + names, 14);
    }
    return usage +
           "Exit status: 0 done (or equal), 1 files differ, 2 bad input, 3 a value stored in a\n"
           "file cannot be decoded, 4 a transfer with the module failed.\n";
}

}  // namespace qz1
