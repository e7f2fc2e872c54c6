#include "files/data_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "files/buffer_status_name.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace qz {
namespace {

using test::TempFolder;

QByteArray pattern(int size, int seed = 1) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 37 + seed) & 0xFF);
    return bytes;
}

ModuleData loadedSentinel() {
    ModuleData data;
    data.EEPROMBuffer.fill(0x77);
    data.BufferEmpty = false;
    return data;
}

TEST(ReadDataFile, TakesTheFirst264BytesIntoAddresses16To279) {
    for (int size : {264, 300}) {
        TempFolder folder;
        const QByteArray bytes = pattern(size);
        const auto path = folder.write("tune.dat", bytes);
        ModuleData data;
        loadDataFile(QString::fromStdString(path), data);
        EXPECT_FALSE(data.BufferEmpty);
        EepromBytes expected{};
        std::copy_n(bytes.begin(), 264, expected.begin() + 16);
        EXPECT_EQ(data.EEPROMBuffer, expected) << size;
    }
}

// A short file is a premature end; a missing file, a folder or a pipe (refused at once, never
// waited on) fails naming it. The target is left as it was.
TEST(ReadDataFile, AFileThatCannotBeReadWholeFailsAndLeavesTheTargetUntouched) {
    TempFolder folder;
    test::makeFifo(folder.path("pipe.dat"));
    // clang-format off
    for (int size : {0, 1, 263}) folder.write(QString("%1.dat").arg(size), pattern(size));
    const std::pair<const char*, std::string> cases[] = {
        {"0.dat", "premature end of file after 0 bytes"},
        {"1.dat", "premature end of file after 1 bytes"},
        {"263.dat", "premature end of file after 263 bytes"},
        {"missing.dat", ": No such file or directory"}, {".", ": not a regular file"},
        {"pipe.dat", ": not a regular file"},
    };
    // clang-format on
    for (const auto& [name, description] : cases) {
        const std::string path = folder.path(name);
        ModuleData data = loadedSentinel();
        try {
            loadDataFile(QString::fromStdString(path), data);
            ADD_FAILURE() << name << " loaded";
        } catch (const ProgramError& error) {
            EXPECT_EQ(error.description(),
                      description.front() == ':' ? path + description : description);
        }
        EXPECT_EQ(data.EEPROMBuffer, loadedSentinel().EEPROMBuffer);
        EXPECT_FALSE(data.BufferEmpty);
    }
}

EepromBytes numberedBuffer() {
    EepromBytes buffer{};
    for (int a = 16; a < kEepromSize; ++a) buffer[a] = static_cast<std::uint8_t>(a);
    return buffer;
}

TEST(WriteDataFile, WritesExactly264BytesEvenOverALongerFile) {
    TempFolder folder;
    const auto path = folder.write("tune.dat", pattern(1000, 9));
    writeDataFile(QString::fromStdString(path), numberedBuffer());
    const QByteArray written = folder.read("tune.dat");
    ASSERT_EQ(written.size(), 264);
    for (int n = 0; n < 264; ++n) EXPECT_EQ(static_cast<std::uint8_t>(written[n]), (16 + n) & 0xFF);
    EXPECT_EQ(QDir(QFileInfo(QString::fromStdString(path)).path()).entryList(QDir::Files).size(), 1)
        << "no temporary file is left behind";
}

// A target that is a folder or a pipe is refused and left as it was; a folder that does not
// exist fails; a disk that fills up part way keeps the old file whole. Nothing is left behind.
TEST(WriteDataFile, AFailedWriteLeavesNoFileOrTheOldOneWhole) {
    TempFolder folder;
    QDir(folder.folderPath()).mkdir("taken");
    const auto fifo = test::makeFifo(folder.path("pipe.dat"));
    const QByteArray old = pattern(264, 5);
    const auto path = folder.write("tune.dat", old);
    for (const char* name : {"no/such/folder/x.dat", "taken", "pipe.dat"})
        EXPECT_THROW(writeDataFile(QString::fromStdString(folder.path(name)), numberedBuffer()),
                     ProgramError)
            << name;
    {
        const test::FileSizeLimit full(100);
        EXPECT_THROW(writeDataFile(QString::fromStdString(path), numberedBuffer()), ProgramError);
    }
    EXPECT_TRUE(QFileInfo(QString::fromStdString(folder.path("taken"))).isDir());
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

}  // namespace
}  // namespace qz
