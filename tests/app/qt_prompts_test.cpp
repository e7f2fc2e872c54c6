#include "app/qt_prompts.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(QtFileFilter, TurnsDisplayAndPatternPairsIntoQtFilters) {
    EXPECT_EQ(qtFileFilter("QZ-1 data files (*.dat)|*.dat"), "QZ-1 data files (*.dat)");
    EXPECT_EQ(qtFileFilter("All Files (*.*)|*.*"), "All Files (*)");
    EXPECT_EQ(qtFileFilter("Tunes|*.dat;*.bin|All Files (*.*)|*.*"),
              "Tunes (*.dat *.bin);;All Files (*)");
}

}  // namespace
}  // namespace qz
