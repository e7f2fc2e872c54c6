#pragma once

namespace qz {

// Lengths of the main window's layout are worked out in twips, 1/1440 inch, and turned
// into pixels with the screen's real resolution.
struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct ViewLayout {
    TwipRect chart;  // both charts: the upper 70 % at full width
    TwipRect grid;   // both grids: the area below, 150 twips narrower, 725 twips shorter
};

// The places of the charts and grids in a window whose inner area is W x H twips.
ViewLayout computeViewLayout(int innerWidth, int innerHeight);

// Sizes of the grids' columns and rows, from the grid's inner width or height in twips.
int gridColumnWidth(int gridInnerWidth);
int grid2DRowHeight(int gridInnerHeight);
int grid3DRowHeight(int gridInnerHeight);

// Twips and pixels at a resolution in dots per logical inch.
class TwipScale {
  public:
    TwipScale(double dpiX, double dpiY) : dpiX_(dpiX), dpiY_(dpiY) {}
    int toPixelsX(double twips) const;
    int toPixelsY(double twips) const;
    int toTwipsX(int pixels) const;
    int toTwipsY(int pixels) const;

  private:
    double dpiX_;
    double dpiY_;
};

}  // namespace qz
