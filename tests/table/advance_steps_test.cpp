#include "table/advance_steps.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "image/cell_encoding.h"

namespace qz {
namespace {

constexpr auto k2D = TableKind::Table2D;
constexpr auto k3D = TableKind::Table3D;

// What the module holds for a byte, as the table shows it.
double shown(int trigger, int byte, TableKind kind) {
    const double advance = decodeCell(trigger, static_cast<std::uint8_t>(byte));
    return kind == k2D ? std::max(advance, 0.0) : advance;
}

// Worked by hand, at and near both limits: the byte a step leaves the cell at.
TEST(AdvanceStep, TakesTheByteTheModuleWillHold) {
    const double at114 = 30 - 114 * 0.0879;
    // clang-format off
    const struct {
        TableKind kind;
        int trigger;
        double advance, delta;
        int byte;
    } cases[] = {
        {k3D, 30, 20, 0.5, 108}, {k3D, 30, 20, -2, 137},  // 9.5 / 0.0879, 136.52
        {k3D, 30, at114, 0.03, 113}, {k3D, 30, at114, -0.03, 115},  // finer than a byte
        {k3D, 30, 29.8, 0.5, 0}, {k3D, 30, 45, -0.5, 1},  // at T; a Modify'd 45
        {k3D, 10, -11.7, -2, 250}, {k3D, 10, -12, -0.5, 250},  // 22 / 0.0879 = 250.28
        {k2D, 10, 0.3, -0.5, 114}, {k2D, 10, 0, 0.5, 108},  // 2D: 0 is the floor
        {k2D, 40, 18.2, -2, 250}, {k3D, 22, 0.4, -2, 250},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(steppedAdvance(c.advance, c.delta, c.trigger, c.kind),
                         shown(c.trigger, c.byte, c.kind))
            << c.advance << " by " << c.delta << " at " << c.trigger;
}

// Over the span typing allows at every trigger timing, fine, coarse and finer than a byte:
// the byte moves at least one unless the cell is at the limit it moves towards, the cell
// shows what its byte decodes to, and it stays within the span.
TEST(AdvanceStep, MovesTheByteAtLeastOneAndStaysWithinTheTypedSpan) {
    for (const TableKind kind : {k2D, k3D})
        for (const int trigger : {10, 22, 30, 40})
            for (const double delta : {0.5, -0.5, 2.0, -2.0, 0.03, -0.03}) {
                const double lowest = std::max(trigger - 22.0, kind == k2D ? 0.0 : -99.0);
                for (double advance = lowest; advance <= trigger; advance += 0.0371) {
                    const double after = steppedAdvance(advance, delta, trigger, kind);
                    const int from = encodeCell(trigger, advance);
                    const int to = encodeCell(trigger, after);
                    const bool atLimit =
                        delta > 0 ? from == 0 : shown(trigger, from + 1, k3D) < lowest;
                    EXPECT_TRUE(atLimit || (delta > 0 ? to < from : to > from)) << advance;
                    EXPECT_DOUBLE_EQ(after, shown(trigger, to, kind)) << advance;
                    EXPECT_TRUE(after >= lowest && after <= trigger) << advance;
                }
            }
}

}  // namespace
}  // namespace qz
