#include "files/buffer_status_name.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

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
