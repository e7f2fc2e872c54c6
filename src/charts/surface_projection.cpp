#include "charts/surface_projection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qz {
namespace {

// The box's proportions: the RPM axis is the longest, the pressure axis and the height
// somewhat shorter, as a tuner expects to read an ignition map.
constexpr double kHalfLength = 1.0;
constexpr double kHalfDepth = 0.6;
constexpr double kHalfHeight = 0.55;

double radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

}  // namespace

SurfaceProjection::SurfaceProjection(const QRectF& area, double zMinimum, double zMaximum)
    : area_(area), zMinimum_(zMinimum), zMaximum_(zMaximum > zMinimum ? zMaximum : zMinimum + 1) {}

void SurfaceProjection::setView(double rotation, double elevation, double scale) {
    rotation_ = std::fmod(std::fmod(rotation, 360) + 360, 360);
    elevation_ = std::clamp(elevation, 5.0, 85.0);
    scale_ = std::clamp(scale, 0.4, 2.5);
}

SurfaceProjection::Turned SurfaceProjection::turn(double x, double y, double z) const {
    const double u = (x - 11) / 10 * kHalfLength;
    const double v = (y - 4.5) / 3.5 * kHalfDepth;
    const double w = ((z - zMinimum_) / (zMaximum_ - zMinimum_) - 0.5) * 2 * kHalfHeight;
    const double r = radians(rotation_);
    const double across = u * std::cos(r) - v * std::sin(r);
    const double into = u * std::sin(r) + v * std::cos(r);
    const double e = radians(elevation_);
    // Seen from above: the back of the box rises on the screen and the top comes nearer.
    return {across, into * std::cos(e) - w * std::sin(e), w * std::cos(e) + into * std::sin(e)};
}

// Pixels per unit of the box: at scale 1 the box fits the area however it is turned, and
// its size changes only with the elevation.
double SurfaceProjection::unit() const {
    const double reach = std::hypot(kHalfLength, kHalfDepth);
    const double e = radians(elevation_);
    const double halfHeight = kHalfHeight * std::cos(e) + reach * std::sin(e);
    return scale_ * std::min(area_.width() / (2 * reach), area_.height() / (2 * halfHeight));
}

QPointF SurfaceProjection::project(double x, double y, double z) const {
    const Turned t = turn(x, y, z);
    return {area_.center().x() + t.across * unit(), area_.center().y() - t.up * unit()};
}

double SurfaceProjection::depth(double x, double y, double z) const {
    return turn(x, y, z).into;
}

// On the screen, z moves a point straight up by cos(elevation) per unit of height: the
// pixel's height gives the height of the box, and so the value.
double SurfaceProjection::valueThrough(double x, double y, const QPointF& pixel) const {
    const double bottom = turn(x, y, zMinimum_).up;
    const double up = (area_.center().y() - pixel.y()) / unit();
    const double perUnitHeight = 2 * kHalfHeight * std::cos(radians(elevation_));
    return zMinimum_ + (up - bottom) / perUnitHeight * (zMaximum_ - zMinimum_);
}

}  // namespace qz
