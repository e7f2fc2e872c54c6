#pragma once

namespace qz {

// What the chart handlers keep between mouse events: the point the last press picked (2D:
// series and point; 3D: x and y, 0 when it picked none), where the pointer started and the
// value the point had then, the offset of a Shift-drag, and whether a double-click asked for
// the next release to be ignored. It lives as long as the window; opening or closing a table
// resets nothing of it.
struct DragState {
    int DragSeries = 0;
    int DragPoint = 0;
    int DragStartY = 0;
    double DragStartValue = 0;
    int DragX = 0;
    int DragY = 0;
    double ShiftOffset = 0;
    bool IgnoreNextRelease = false;

    bool dragging2D() const { return DragSeries == 1 && DragPoint >= 1; }
    bool dragging3D() const { return DragX >= 1 && DragY >= 1; }
    // A release that a double-click asked to be ignored, which this one consumes.
    bool ignoreRelease() {
        const bool ignore = IgnoreNextRelease;
        IgnoreNextRelease = false;
        return ignore;
    }
};

}  // namespace qz
