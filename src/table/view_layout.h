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

// The places of the charts and grids in a window whose inner area is W x H twips. A grid
// that needs `gridNeeds` twips to show every row without scrolling takes what it lacks from
// the chart, down to half the height for the chart.
ViewLayout computeViewLayout(int innerWidth, int innerHeight, int gridNeeds = 0);

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
