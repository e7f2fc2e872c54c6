#pragma once

#include <QPainter>
#include <QString>
#include <QWidget>
#include <array>
#include <optional>

#include "core/module_data.h"
#include "table/chart_template.h"
#include "table/surface_projection.h"

namespace qz {

// What a pick found: whether the pixel lies in the plotting area, the nearest data point
// (2D: series and point; 3D: x and y) and its distance in pixels.
struct ChartPick {
    bool inPlotArea = false;
    int first = 0;   // 2D: the series; 3D: x, the RPM column
    int second = 0;  // 2D: the point; 3D: y, the pressure row
    double distance = 0;
};

// What both charts share: the template that dresses them, value label 1 and suspended
// redrawing, so that many value changes show as one redraw. Each chart paints through
// paint(), which draws into any rectangle of any painter: the screen, an image or a page.
class TimingChart : public QWidget {
    Q_OBJECT
  public:
    TimingChart(const QString& name, ChartKind kind, QWidget* parent);

    // Loads a template file; false (and the chart keeps its template) when it cannot.
    bool loadTemplate(const QString& path);
    const std::optional<ChartTemplate>& chartTemplate() const { return template_; }

    // Value label 1: shown or hidden, attached to a data point, with a text.
    void setValueLabelVisible(bool visible);
    bool valueLabelVisible() const { return valueLabelVisible_; }
    void attachValueLabel(int first, int second);
    std::pair<int, int> valueLabelPoint() const { return {labelFirst_, labelSecond_}; }
    void setValueLabelText(const QString& text);
    QString valueLabelText() const { return valueLabelText_; }

    // An advance's colour on the template's scale, as the surface shades it.
    QColor advanceColour(double advance) const;

    void suspendRedraw() { suspended_ = true; }
    void resumeRedraw();

    void paint(QPainter& painter, const QRectF& rect) const;
    // The nearest data point to a pixel of the widget.
    virtual ChartPick pick(const QPointF& pixel) const = 0;

  signals:
    // The mouse on the chart, for the editing that drags its points.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF position);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF position);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF position);
    // The chart's click notification: a double-click, so an ordinary press, drag and release
    // is never taken for one.
    void doubleClicked();

  protected:
    // The template in force, or the built-in look while none could be loaded.
    const ChartTemplate& look() const;
    void redraw();
    // Where the data is drawn within a chart of the given rectangle.
    static QRectF plotArea(const QRectF& rect);
    virtual void paintData(QPainter& painter, const QRectF& plot) const = 0;
    void paintValueLabel(QPainter& painter, const QPointF& at) const;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    int labelFirst_ = 1;
    int labelSecond_ = 1;

  private:
    ChartKind kind_;
    ChartTemplate builtIn_;
    std::optional<ChartTemplate> template_;
    bool valueLabelVisible_ = false;
    QString valueLabelText_;
    bool suspended_ = false;
};

// The 2D chart: series 1 is the advance curve, series 2 the flat trigger-timing line, each
// of 21 points numbered 1 to 21 over 0 to 10000 RPM.
class LineChart : public TimingChart {
    Q_OBJECT
  public:
    LineChart(const QString& name, QWidget* parent);

    void setTable(const Table2DCells& table);
    const Table2DCells& table() const { return data_; }
    double value(int series, int point) const { return data_(point, series); }
    void setValue(int series, int point, double value);

    ChartPick pick(const QPointF& pixel) const override;
    // Where a data point is drawn in a chart of the given rectangle.
    QPointF pointPosition(int series, int point, const QRectF& rect) const;

  protected:
    void paintData(QPainter& painter, const QRectF& plot) const override;

  private:
    QPointF position(double point, double value, const QRectF& plot) const;
    Table2DCells data_;
};

// The 3D chart: a 21 x 8 surface addressed (x, y), x the RPM column and y the pressure row
// (y = 1 the highest pressure), shaded by advance. The right or middle button turns it, the
// wheel zooms, and so do the arrow keys, Page Up and Page Down while it has the focus; Home
// brings back the view it opened with.
class SurfaceChart : public TimingChart {
    Q_OBJECT
  public:
    SurfaceChart(const QString& name, QWidget* parent);

    void setTable(const Table3DCells& table);
    const Table3DCells& table() const { return data_; }
    double value(int x, int y) const { return data_(x, y); }
    void setValue(int x, int y, double value);

    // The labels of the pressure rows, y = 1 to 8.
    void setPressureLabels(const std::array<int, 8>& labels);

    void setView(double rotation, double elevation, double scale);
    // The projection of a chart drawn in the given rectangle.
    SurfaceProjection projection(const QRectF& rect) const;

    ChartPick pick(const QPointF& pixel) const override;
    // The value point (x, y) would have if the surface passed through the pixel.
    double valueThrough(int x, int y, const QPointF& pixel) const;

  protected:
    void paintData(QPainter& painter, const QRectF& plot) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void paintFloor(QPainter& painter, const SurfaceProjection& view) const;
    void paintScales(QPainter& painter, const SurfaceProjection& view) const;
    Table3DCells data_;
    std::array<int, 8> pressureLabels_{30, 28, 26, 24, 22, 20, 18, 16};
    // The view the user has turned to; its area does not matter, only its angles and scale.
    SurfaceProjection view_{QRectF(0, 0, 1, 1), 0, 1};
    std::optional<QPoint> turning_;  // where a turning drag last was
};

}  // namespace qz
