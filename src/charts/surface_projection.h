#pragma once

#include <QPointF>
#include <QRectF>

namespace qz {

// How the 3D chart shows its 21 x 8 surface on a flat rectangle: the box of the data
// (x = RPM column 1..21, y = pressure row 1..8, z = advance between the template's minimum
// and maximum) turned about its vertical axis by the rotation, tilted towards the viewer by
// the elevation, and scaled to fit the plotting area. No widgets: the chart, the printed page
// and the tests use it alike.
class SurfaceProjection {
  public:
    static constexpr double kDefaultRotation = 35;
    static constexpr double kDefaultElevation = 28;

    SurfaceProjection(const QRectF& area, double zMinimum, double zMaximum);

    // The view. Rotation in degrees, any value (kept within 0..360); elevation in degrees
    // within 5..85, so the surface is never seen exactly edge-on or from straight above;
    // scale within 0.4..2.5.
    void setView(double rotation, double elevation, double scale);
    double rotation() const { return rotation_; }
    double elevation() const { return elevation_; }
    double scale() const { return scale_; }
    const QRectF& area() const { return area_; }

    // Where a point of the data box appears.
    QPointF project(double x, double y, double z) const;
    // How far a point lies from the viewer; larger is farther, for drawing back to front.
    double depth(double x, double y, double z) const;
    // The z a surface point at (x, y) would need to appear at the pixel's height: the pixel's
    // vertical position read as a value on the vertical line through (x, y).
    double valueThrough(double x, double y, const QPointF& pixel) const;

  private:
    struct Turned {
        double across;  // left to right on the screen
        double into;    // towards the back
        double up;
    };
    Turned turn(double x, double y, double z) const;
    double unit() const;

    QRectF area_;
    double zMinimum_;
    double zMaximum_;
    double rotation_ = kDefaultRotation;
    double elevation_ = kDefaultElevation;
    double scale_ = 1;
};

}  // namespace qz
