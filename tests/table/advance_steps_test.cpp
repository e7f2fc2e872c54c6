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

// Hand-worked steps: the byte the step leaves the cell at, at and near both limits.
TEST(AdvanceStep, TakesTheByteTheModuleWillHold) {
    const struct {
        TableKind kind;
        int trigger;
        double advance, delta;
        int byte;  // after the step
    } cases[] = {
        {k3D, 30, 20, 0.5, 108},                   // 9.5 / 0.0879 = 108.08
        {k3D, 30, 20, -2, 137},                    // 12 / 0.0879 = 136.52
        {k3D, 30, 30 - 114 * 0.0879, 0.03, 113},   // finer than a byte: still one byte
        {k3D, 30, 30 - 114 * 0.0879, -0.03, 115},  // and down
        {k3D, 30, 30, 0.5, 0},                     // at the top it stays
        {k3D, 30, 29.8, 0.5, 0},                   // near it, up to it
        {k3D, 30, 45, -0.5, 1},                    // a Modify'd 45 comes down from T
        {k3D, 10, -12, -0.5, 250},                 // 22 / 0.0879 = 250.28: stays
        {k3D, 10, -11.7, -2, 250},                 // near it, down to it
        {k2D, 10, 0, -0.5, 114},                   // 2D: 0 is the floor, byte 114
        {k2D, 10, 0.3, -0.5, 114},                 // near it
        {k2D, 10, 0, 0.5, 108},                    // 9.5 / 0.0879
        {k2D, 40, 18.2, -2, 250},                  // 2D at T = 40: T - 22
        {k3D, 40, 39, 2, 0},                       // coarse up to T
        {k3D, 22, 0.4, -2, 250},                   // T = 22: the span ends at 0
        {k2D, 22, 22.5 - 2 * 0.0879 * 10, 2, 0},   // 2D near the top at T = 22
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(steppedAdvance(c.advance, c.delta, c.trigger, c.kind),
                         shown(c.trigger, c.byte, c.kind))
            << c.advance << " by " << c.delta << " at " << c.trigger;
}

// Over the whole span typing allows, at every trigger timing, fine and coarse, up and down
// (a step finer than the resolution too): the byte moves by at least one unless the cell is
// at the limit it moves towards, the cell shows what its byte decodes to, and it stays
// within the span.
TEST(AdvanceStep, MovesTheByteAtLeastOneAndStaysWithinTheTypedSpan) {
    for (const TableKind kind : {k2D, k3D})
        for (const int trigger : {10, 22, 30, 40})
            for (const double delta : {0.5, -0.5, 2.0, -2.0, 0.03, -0.03}) {
                const double lowest = kind == k2D ? std::max(trigger - 22.0, 0.0) : trigger - 22.0;
                for (double advance = lowest; advance <= trigger; advance += 0.0371) {
                    const double after = steppedAdvance(advance, delta, trigger, kind);
                    const int from = encodeCell(trigger, advance);
                    const int to = encodeCell(trigger, after);
                    const bool atLimit =
                        delta > 0 ? from == 0 : shown(trigger, from + 1, k3D) < lowest;
                    EXPECT_TRUE(atLimit || (delta > 0 ? to < from : to > from))
                        << advance << " by " << delta << " at " << trigger;
                    EXPECT_DOUBLE_EQ(after, shown(trigger, to, kind)) << advance;
                    EXPECT_TRUE(after >= lowest && after <= trigger) << advance << " " << after;
                }
            }
}

}  // namespace
}  // namespace qz
