#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "files/restore_points.h"
#include "support/temp_folder.h"

namespace qz {
namespace {

using test::TempFolder;

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
    ASSERT_EQ(listed.size(), 4u);
    const std::uint8_t fills[] = {3, 1, 2, 1};
    for (std::size_t i = 0; i < listed.size(); ++i)
        EXPECT_EQ(RestorePoints::read(listed[i]), imageOf(fills[i])) << i;
    EXPECT_EQ(listed[2].origin, "downloaded from the module");
    EXPECT_EQ(listed[2].firmwareId, "QZ-1 V2.1");
    EXPECT_EQ(listed[1].fileName, "/t/a.dat");
    EXPECT_EQ(restorePointTime(listed[2]), "2026-12-07 09:30:01");
}

// What is not a whole point of ours is passed over without a word: a record that is not
// JSON, one without a time, one naming a data file elsewhere or a short one, a data file
// without a record, a folder named like a record, a huge file.
TEST(RestorePoints, PassesOverWhatIsNotAWholePoint) {
    const TempFolder outside;
    outside.write("outside.dat", QByteArray(kImageSize, 0));
    QDir(outside.folderPath()).mkdir("points");
    const TempFolder& folder = outside;  // its "points" folder is the one listed
    RestorePoints points(outside.folderPath() + "/points");
    ASSERT_TRUE(points.keep(imageOf(7), "at exit", "", "", kStart));
    const QString good = R"({"time":"2026-12-07T09:00:00.000","origin":"x","data":"%1"})";
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        folder.write("points/" + name, bytes);
    };
    write("garbage.json", "\x01\x02not json");
    write("notime.json", R"({"origin":"x","data":"short.dat"})");
    write("short.dat", QByteArray(100, 0));
    write("short.json", good.arg("short.dat").toUtf8());
    write("outside.json", good.arg("../outside.dat").toUtf8());
    write("missing.json", good.arg("missing.dat").toUtf8());
    write("lonely.dat", QByteArray(kImageSize, 0));
    write("huge.json", QByteArray(100000, ' '));
    QDir(folder.folderPath()).mkpath("points/folder.json");
    const auto listed = points.list();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(RestorePoints::read(listed[0]), imageOf(7));
}

TEST(RestorePoints, KeepsTheNewestTwoHundred) {
    const TempFolder folder;
    RestorePoints points(folder.folderPath());
    for (int n = 0; n < RestorePoints::kKept + 3; ++n)
        ASSERT_TRUE(points.keep(imageOf(static_cast<std::uint8_t>(n)), "at exit", "", "",
                                kStart.addSecs(n)));
    const auto listed = points.list();
    ASSERT_EQ(listed.size(), static_cast<std::size_t>(RestorePoints::kKept));
    EXPECT_EQ(RestorePoints::read(listed.back()), imageOf(3));
    EXPECT_EQ(QDir(folder.folderPath()).entryList(QDir::Files).size(), 2 * RestorePoints::kKept);
}

TEST(RestorePoints, AFolderThatCannotBeMadeIsAnError) {
    const TempFolder folder;
    folder.write("file", "x");
    RestorePoints points(folder.folderPath() + "/file/points");
    EXPECT_THROW(points.keep(imageOf(1), "at exit", "", "", kStart), ProgramError);
}

}  // namespace
}  // namespace qz
