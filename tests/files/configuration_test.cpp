#include "files/configuration.h"

#include <gtest/gtest.h>

#include "core/program_error.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

namespace qz {
namespace {

using Lines = std::vector<std::string>;

struct Read {
    Lines splash;
    Lines company;
    std::vector<std::string> errors;
};

Read readText(const QByteArray& text, std::vector<PromptAnswer> answers = {}) {
    test::TempFolder folder;
    const auto path = folder.write("Tunewell_QZ.cfg", text);
    ProgramState state;
    test::ScriptedPrompts prompts;
    for (auto answer : answers) prompts.answer(answer);
    ErrorTrap trap(prompts);
    trap.run([&] { readConfiguration(QString::fromStdString(path), state, trap); });
    Read read{state.SplashSettings, state.CompanyInfo, {}};
    for (const auto& shown : prompts.shown()) read.errors.push_back(shown.text);
    return read;
}

TEST(Configuration, ReadsTheTwoSectionsBetweenMarkerLines) {
    const struct {
        const char* why;
        QByteArray text;
        Lines splash;
        Lines company;
    } cases[] = {
        {"plain",
         "!x\nAcme\nArial\n20\nbold\nNULL\n!\nAcme\nStreet 1\n!\nignored\n",
         {"Acme", "Arial", "20", "bold", "NULL"},
         {"Acme", "Street 1"}},
        {"many leading markers", "!a\n!b\n!c\nA\n!\nB\n", {"A"}, {"B"}},
        {"section 2 runs to the end", "A\n!\nB\nC", {"A"}, {"B", "C"}},
        {"carriage returns", "!m\r\nA\r\nB\r\n!\r\nC\r\n", {"A", "B"}, {"C"}},
        {"empty lines are items", "A\n\n!\n\nB\n", {"A", ""}, {"", "B"}},
        {"no section 2", "A\n!\n", {"A"}, {}},
        {"latin-1", "Caf\xE9\n!\nX\n", {"Caf\xC3\xA9"}, {"X"}},
    };
    for (const auto& c : cases) {
        const Read read = readText(c.text);
        EXPECT_EQ(read.splash, c.splash) << c.why;
        EXPECT_EQ(read.company, c.company) << c.why;
        EXPECT_TRUE(read.errors.empty()) << c.why;
    }
}

TEST(Configuration, ReadingPastTheEndInsideSection1IsReportedAndEndsTheReading) {
    const Read ignored = readText("A\nB\n", {PromptAnswer::Ignore});
    EXPECT_EQ(ignored.splash, (Lines{"A", "B"}));
    EXPECT_EQ(ignored.company, Lines{});
    EXPECT_EQ(ignored.errors, std::vector<std::string>{"Input past end of file"});

    const Read retried = readText("!only markers\n", {PromptAnswer::Retry, PromptAnswer::Abort});
    EXPECT_EQ(retried.errors.size(), 2u);
    EXPECT_TRUE(retried.splash.empty());
}

TEST(AboutText, ListsTheCompanyBlockAfterAnEmptyLine) {
    EXPECT_EQ(aboutText({"Acme"}),
              "Acme Tunewell QZ Version 1.50\nWritten by the Tunewell QZ development team.\n\n");
    EXPECT_EQ(aboutText({"Acme", "Street 1", "Town"}),
              "Acme Tunewell QZ Version 1.50\nWritten by the Tunewell QZ development team.\n\n"
              "Street 1\nTown\n");
    EXPECT_THROW(aboutText({}), ProgramError);
}

}  // namespace
}  // namespace qz
