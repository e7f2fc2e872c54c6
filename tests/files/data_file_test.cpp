#include "files/data_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

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
        for (int a = 0; a < 16; ++a) EXPECT_EQ(data.EEPROMBuffer[a], 0) << a;
        for (int n = 0; n < 264; ++n)
            ASSERT_EQ(data.EEPROMBuffer[16 + n], static_cast<std::uint8_t>(bytes[n]))
                << size << " " << n;
    }
}

TEST(ReadDataFile, AShortFileIsAPrematureEndAndLeavesTheTargetUntouched) {
    for (int size : {0, 1, 263}) {
        TempFolder folder;
        const auto path = folder.write("short.dat", pattern(size));
        ModuleData data = loadedSentinel();
        try {
            loadDataFile(QString::fromStdString(path), data);
            ADD_FAILURE() << size << "-byte file loaded";
        } catch (const PrematureEndOfFile& error) {
            EXPECT_EQ(error.bytesRead(), size);
            EXPECT_EQ(error.description(),
                      "premature end of file after " + std::to_string(size) + " bytes");
        }
        EXPECT_EQ(data.EEPROMBuffer, loadedSentinel().EEPROMBuffer);
        EXPECT_FALSE(data.BufferEmpty);
    }
}

// A pipe is refused at once, never waited on.
TEST(ReadDataFile, AFileThatCannotBeOpenedFailsNamingIt) {
    TempFolder folder;
    test::makeFifo(folder.path("pipe.dat"));
    for (const QString& name : {QString("missing.dat"), QString("."), QString("pipe.dat")}) {
        const auto path = QString::fromStdString(folder.path(name));
        ModuleData data = loadedSentinel();
        try {
            loadDataFile(path, data);
            ADD_FAILURE() << name.toStdString() << " loaded";
        } catch (const ProgramError& error) {
            EXPECT_NE(error.description().find(path.toStdString()), std::string::npos)
                << error.description();
        }
        EXPECT_EQ(data.EEPROMBuffer, loadedSentinel().EEPROMBuffer);
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
// exist fails; nothing is left behind.
TEST(WriteDataFile, AFailedWriteLeavesNoFileOrTheOldOneWhole) {
    TempFolder folder;
    QDir(QString::fromStdString(folder.path(""))).mkdir("taken");
    const auto fifo = test::makeFifo(folder.path("pipe.dat"));
    for (const char* name : {"no/such/folder/x.dat", "taken", "pipe.dat"})
        EXPECT_THROW(writeDataFile(QString::fromStdString(folder.path(name)), numberedBuffer()),
                     ProgramError)
            << name;
    EXPECT_TRUE(QFileInfo(QString::fromStdString(folder.path("taken"))).isDir());
    EXPECT_FALSE(QFileInfo(QString::fromStdString(fifo)).isFile()) << "still the pipe";
    EXPECT_EQ(QDir(QString::fromStdString(folder.path(""))).entryList(QDir::Files).size(), 0);
}

// The disk fills up in the middle of a save: the old file stays whole.
TEST(WriteDataFile, ASaveThatFailsPartWayKeepsTheOldFile) {
    TempFolder folder;
    const QByteArray old = pattern(264, 5);
    const auto path = folder.write("tune.dat", old);
    {
        const test::FileSizeLimit full(100);
        EXPECT_THROW(writeDataFile(QString::fromStdString(path), numberedBuffer()), ProgramError);
    }
    EXPECT_EQ(folder.read("tune.dat"), old);
    EXPECT_EQ(QDir(QFileInfo(QString::fromStdString(path)).path()).entryList(QDir::Files).size(),
              1);
}

}  // namespace
}  // namespace qz
