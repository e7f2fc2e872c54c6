#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "core/program_error.h"
#include "files/buffer_status_name.h"
#include "files/configuration.h"
#include "files/data_file.h"
#include "files/file_dialogs.h"
#include "files/restore_points.h"
#include "support/file_size_limit.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

namespace qz {
namespace {

using test::TempFolder;
using Lines = std::vector<std::string>;
using test::ScriptedPrompts;
using test::ShownPrompt;

QByteArray pattern(int size, int seed = 1) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 37 + seed) & 0xFF);
    return bytes;
}

// The first 264 bytes of a file go to addresses 16 to 279. A short file is a premature end;
// a missing file or a pipe (refused at once, never waited on) fails naming it, and the target
// is left as it was.
TEST(ReadDataFile, TakesTheFirst264BytesOrFailsLeavingTheTargetUntouched) {
    TempFolder folder;
    test::makeFifo(folder.path("pipe.dat"));
    for (int size : {263, 264, 300}) folder.write(QString("%1.dat").arg(size), pattern(size));
    // clang-format off
    const std::pair<const char*, std::string> cases[] = {
        {"264.dat", ""}, {"300.dat", ""},
        {"263.dat", "premature end of file after 263 bytes"},
        {"missing.dat", ": No such file or directory"}, {"pipe.dat", ": not a regular file"},
    };
    // clang-format on
    for (const auto& [name, description] : cases) {
        const std::string path = folder.path(name);
        ModuleData data;
        data.EEPROMBuffer.fill(0x77);
        EepromBytes expected = data.EEPROMBuffer;
        try {
            loadDataFile(QString::fromStdString(path), data);
            std::copy_n(pattern(264).begin(), 264, expected.begin() + 16);
            EXPECT_EQ(description, "") << name << " loaded";
        } catch (const ProgramError& error) {
            EXPECT_EQ(error.description(),
                      description.starts_with(':') ? path + description : description);
        }
        EXPECT_EQ(data.EEPROMBuffer, expected) << name;
        EXPECT_EQ(data.BufferEmpty, !description.empty()) << name;
    }
}

EepromBytes numberedBuffer() {
    EepromBytes buffer{};
    for (int a = 16; a < kEepromSize; ++a) buffer[a] = static_cast<std::uint8_t>(a);
    return buffer;
}

// Exactly 264 bytes, even over a longer file. A target that is a pipe is refused and left as
// it was; a folder that does not exist fails; a disk that fills up part way keeps the old file
// whole. Nothing is left behind.
TEST(WriteDataFile, WritesExactly264BytesOrLeavesNoFileOrTheOldOneWhole) {
    TempFolder folder;
    const auto fifo = test::makeFifo(folder.path("pipe.dat"));
    const auto path = folder.write("tune.dat", pattern(1000, 9));
    writeDataFile(QString::fromStdString(path), numberedBuffer());
    const QByteArray old = folder.read("tune.dat");
    EXPECT_EQ(old, QByteArray(reinterpret_cast<const char*>(numberedBuffer().data()) + 16, 264));
    for (const char* name : {"no/such/folder/x.dat", "pipe.dat"})
        EXPECT_THROW(writeDataFile(QString::fromStdString(folder.path(name)), numberedBuffer()),
                     ProgramError)
            << name;
    {
        const test::FileSizeLimit full(100);
        EXPECT_THROW(writeDataFile(QString::fromStdString(path), EepromBytes{}), ProgramError);
    }
    EXPECT_FALSE(QFileInfo(QString::fromStdString(fifo)).isFile()) << "still the pipe";
    EXPECT_EQ(folder.read("tune.dat"), old);
    EXPECT_EQ(QDir(folder.folderPath()).entryList(QDir::Files), QStringList{"tune.dat"});
}

TEST(BufferStatusName, TakesThePartAfterTheLastSeparatorAndShortensLongNames) {
    const QString forty = QString(36, 'a') + ".dat";
    const QString fortyOne = "b" + forty;
    const QString wide = QString::fromUtf8("\xF0\x9F\x94\xA7") + forty;  // 41 characters
    // clang-format off
    const struct {
        QString path;
        QString name;
    } cases[] = {
        {"/home/tuner/tunes/street.dat", "street.dat"}, {"street.dat", "street.dat"},
        {"/tunes/" + forty, forty}, {"/tunes/" + fortyOne, "..." + forty},
        {"/tunes/" + wide, "..." + forty}, {"/tunes/", ""},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(bufferStatusName(c.path), c.name) << c.path.toStdString();
}

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

// Reading past the end inside section 1 is reported and ends the reading.
TEST(Configuration, ReadsTheTwoSectionsBetweenMarkerLines) {
    const std::vector<std::string> pastEnd = {"Input past end of file"};
    const struct {
        const char* why;
        QByteArray text;
        Lines splash;
        Lines company;
        std::vector<std::string> errors = {};
        std::vector<PromptAnswer> answers = {};
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
        {"no marker", "A\nB\n", {"A", "B"}, {}, pastEnd, {PromptAnswer::Ignore}},
        // clang-format off
        {"only markers, retried", "!only markers\n", {}, {}, {pastEnd[0], pastEnd[0]},
         {PromptAnswer::Retry, PromptAnswer::Abort}},
        // clang-format on
    };
    for (const auto& c : cases) {
        const Read read = readText(c.text, c.answers);
        EXPECT_EQ(std::tuple(read.splash, read.company, read.errors),
                  std::tuple(c.splash, c.company, c.errors))
            << c.why;
    }
}

TEST(AboutText, ListsTheCompanyBlockAfterAnEmptyLine) {
    const std::string head =
        "Acme Tunewell QZ Version 1.50\nWritten by the Tunewell QZ development team.\n\n";
    EXPECT_EQ(aboutText({"Acme"}), head);
    EXPECT_EQ(aboutText({"Acme", "Street 1", "Town"}), head + "Street 1\nTown\n");
    EXPECT_THROW(aboutText({}), ProgramError);
}

std::string resolve(const std::string& token, const test::TempFolder& folder) {
    if (token == "EXISTING") return folder.path("tune.dat");
    if (token == "MISSING") return folder.path("missing.dat");
    if (token == "NO EXTENSION") return folder.path("tune");
    if (token == "PIPE") return test::makeFifo(folder.path("pipe.dat"));
    return token;
}

// Open checks that the chosen file exists; Save asks before replacing one and never replaces
// a folder or a pipe: said so, and the dialog again. Each row: the file dialog's answers
// ("EXISTING", "MISSING", ...), the answers to the message shown, the prompt given to Open,
// the result ("throws" for the function's Canceled error), how many file dialogs were shown,
// and the message, "PATH" standing for the first file answered. Open is given the data file
// filter, Save none: it shows all files.
TEST(FileDialogs, OpenChecksThatTheFileExistsAndSaveAsksBeforeReplacingIt) {
    using A = PromptAnswer;
    using B = PromptButtons;
    const std::string notFound = "PATH\nFile not found.";
    const std::string create = notFound + "\n\nCreate it?";
    const std::string replace = "PATH\nThis file already exists.\n\nReplace existing file?";
    const std::string pipe =
        "PATH\nThis is not a regular file and cannot be replaced. Choose another name.";
    const struct {
        bool save;
        const char* name;
        std::vector<std::string> files;
        std::vector<PromptAnswer> answers;
        std::string prompt;
        std::string result;
        int dialogs;
        std::string message = {};
        PromptButtons buttons = PromptButtons::YesNoCancel;
    } cases[] = {
        // clang-format off
        {false, "chosen", {"EXISTING"}, {}, "", "EXISTING", 1},
        {false, "dialog left", {""}, {}, "", "", 1},
        {false, "retry", {"MISSING", "EXISTING"}, {A::Retry}, "", "EXISTING", 2, notFound,
         B::RetryCancel},
        {false, "cancel", {"MISSING"}, {A::Cancel}, "", "throws", 1, notFound, B::RetryCancel},
        {false, "yes with a prompt", {"MISSING"}, {A::Yes}, "Create it?", "MISSING", 1, create},
        {false, "no with a prompt", {"MISSING"}, {A::No}, "Create it?", "", 1, create},
        {true, "new file", {"MISSING"}, {}, "", "MISSING", 1},
        {true, "dialog left", {""}, {}, "", "", 1},
        {true, "replace", {"EXISTING"}, {A::Yes}, "", "EXISTING", 1, replace},
        {true, "choose again", {"EXISTING", "MISSING"}, {A::No}, "", "MISSING", 2, replace},
        {true, "cancel", {"EXISTING"}, {A::Cancel}, "", "throws", 1, replace},
        {true, "extension added", {"NO EXTENSION"}, {A::Yes}, "", "EXISTING", 1},
        {true, "not a regular file", {"PIPE", "MISSING"}, {A::OK}, "", "MISSING", 2, pipe, B::OK},
        // clang-format on
    };
    for (const auto& c : cases) {
        const std::string title = c.save ? "File Save" : "File Open";
        const std::string filter = c.save ? "" : kDataFileFilter;
        test::TempFolder folder;
        folder.write("tune.dat", QByteArray(264, '\0'));
        ScriptedPrompts prompts;
        for (const auto& file : c.files) prompts.answerFile(resolve(file, folder));
        for (auto answer : c.answers) prompts.answer(answer);
        std::string result;
        try {
            result = c.save ? FileSave(prompts, "Save File", filter, c.prompt, "", "dat")
                            : FileOpen(prompts, "Open File", filter, c.prompt);
        } catch (const ProgramError& error) {
            result = "throws";
            EXPECT_EQ(error.description(), "Canceled " + title) << c.name;
            EXPECT_EQ(error.number(), c.save ? kSaveDialogErrorNumber : kAppErrorNumber);
        }
        EXPECT_EQ(result, c.result == "throws" ? "throws" : resolve(c.result, folder)) << c.name;
        std::vector<std::string> filters;
        std::vector<ShownPrompt> messages;
        for (const auto& shown : prompts.shown())
            shown.kind == ShownPrompt::Kind::Message ? messages.push_back(shown)
                                                     : filters.push_back(shown.filter);
        EXPECT_EQ(filters,
                  std::vector<std::string>(c.dialogs, c.save ? "All Files (*.*)|*.*" : filter))
            << c.name;
        EXPECT_TRUE(prompts.allAnswersUsed()) << c.name;
        if (c.message.empty()) continue;
        ASSERT_EQ(messages.size(), 1u) << c.name;
        const auto& shown = messages[0];
        EXPECT_EQ(std::tuple(shown.text, shown.title, shown.icon, shown.buttons),
                  std::tuple(resolve(c.files.front(), folder) + c.message.substr(4), title,
                             PromptIcon::Exclamation, c.buttons))
            << c.name;
    }
}

EepromBytes imageOf(std::uint8_t fill) {
    EepromBytes image{};
    std::fill(image.begin() + kImageFirstAddress, image.end(), fill);
    return image;
}

const QDateTime kStart(QDate(2026, 12, 7), QTime(9, 30));

// Points are listed newest first with what they were kept with, read back byte for byte;
// the newest is not kept twice, an older one with the same bytes is.
TEST(RestorePoints, KeepsEachBufferOnceNewestFirst) {
    const TempFolder folder;
    RestorePoints points(folder.folderPath() + "/new/points");
    EXPECT_TRUE(points.list().empty());
    EXPECT_TRUE(points.keep(imageOf(1), "before Download", "/t/a.dat", "", kStart));
    EXPECT_TRUE(
        points.keep(imageOf(2), "downloaded from the module", "", "QZ-1 V2.1", kStart.addSecs(1)));
    EXPECT_FALSE(points.keep(imageOf(2), "before Open File b.dat", "", "", kStart.addSecs(2)));
    // Two within one millisecond keep their order.
    EXPECT_TRUE(points.keep(imageOf(1), "at exit", "/t/a.dat", "", kStart.addSecs(3)));
    EXPECT_TRUE(points.keep(imageOf(3), "at exit", "", "", kStart.addSecs(3)));
    const auto listed = points.list();
    std::vector<EepromBytes> read;
    for (const auto& point : listed) read.push_back(RestorePoints::read(point));
    ASSERT_EQ(read, (std::vector{imageOf(3), imageOf(1), imageOf(2), imageOf(1)}));
    EXPECT_EQ(std::tuple(listed[2].origin, listed[2].firmwareId, restorePointTime(listed[2])),
              std::tuple("downloaded from the module", "QZ-1 V2.1", "2026-12-07 09:30:01"));
    EXPECT_EQ(listed[1].fileName, "/t/a.dat");
}

// What is not a whole point of ours is passed over without a word: a record that is not
// JSON, one without a time, one naming a data file elsewhere or a short one, a data file
// without a record, a folder named like a record, a huge file. A folder that cannot be made
// is an error.
TEST(RestorePoints, PassesOverWhatIsNotAWholePoint) {
    const TempFolder folder;
    folder.write("outside.dat", QByteArray(kImageSize, 0));
    QDir(folder.folderPath()).mkpath("points/folder.json");
    RestorePoints points(folder.folderPath() + "/points");
    ASSERT_TRUE(points.keep(imageOf(7), "at exit", "", "", kStart));
    const QString good = R"({"time":"2026-12-07T09:00:00.000","origin":"x","data":"%1"})";
    const std::pair<const char*, QByteArray> files[] = {
        {"garbage.json", "\x01\x02not json"},
        {"notime.json", R"({"origin":"x","data":"short.dat"})"},
        {"short.dat", QByteArray(100, 0)},
        {"short.json", good.arg("short.dat").toUtf8()},
        {"outside.json", good.arg("../outside.dat").toUtf8()},
        {"missing.json", good.arg("missing.dat").toUtf8()},
        {"lonely.dat", QByteArray(kImageSize, 0)},
        {"huge.json", QByteArray(100000, ' ')},
    };
    for (const auto& [name, bytes] : files) folder.write(QString("points/") + name, bytes);
    const auto listed = points.list();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(RestorePoints::read(listed[0]), imageOf(7));
    RestorePoints underAFile(folder.folderPath() + "/outside.dat/points");
    EXPECT_THROW(underAFile.keep(imageOf(1), "at exit", "", "", kStart), ProgramError);
}

TEST(RestorePoints, KeepsTheNewestTwoHundred) {
    const TempFolder folder;
    RestorePoints points(folder.folderPath());
    for (int n = 0; n < 203; ++n)
        ASSERT_TRUE(points.keep(imageOf(static_cast<std::uint8_t>(n)), "at exit", "", "",
                                kStart.addSecs(n)));
    const auto listed = points.list();
    ASSERT_EQ(listed.size(), 200u);
    EXPECT_EQ(RestorePoints::read(listed.back()), imageOf(3));
    EXPECT_EQ(QDir(folder.folderPath()).entryList(QDir::Files).size(), 400);
}

}  // namespace
}  // namespace qz
