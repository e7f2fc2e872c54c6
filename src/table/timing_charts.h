#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <optional>

#include "charts/chart_template.h"
#include "charts/line_chart_drawing.h"
#include "charts/surface_chart_drawing.h"
#include "core/module_data.h"

namespace qz {

// What a pick found: whether the pixel lies in the plotting area, the nearest data point
// (2D: series and point; 3D: x and y) and its distance in pixels.
struct ChartPick {
    bool inPlotArea = false;
    int first = 0;   // 2D: the series; 3D: x, the RPM column
    int second = 0;  // 2D: the point; 3D: y, the pressure row
    double distance = 0;
};

// What both chart widgets share: the template that dresses them, value label 1, suspended
// redrawing (many value changes show as one redraw), the mouse events the editor drags
// points with, and the values behind the cells of the table's grid. The pictures themselves
// are drawn by charts/ on data, so a printed page shows what the screen shows.
class TimingChart : public QWidget {
    Q_OBJECT
  public:
    TimingChart(const QString& name, ChartKind kind, QWidget* parent);

    // Loads a template file; false (and the chart keeps its template) when it cannot.
    bool loadTemplate(const QString& path);
    const std::optional<ChartTemplate>& chartTemplate() const { return template_; }
    // The template in force, or the built-in look while none could be loaded.
    const ChartTemplate& look() const { return template_ ? *template_ : builtIn_; }

    // Value label 1: shown or hidden, attached to a data point, with a text.
    void setValueLabelVisible(bool visible);
    bool valueLabelVisible() const { return label_.visible; }
    void attachValueLabel(int first, int second);
    std::pair<int, int> valueLabelPoint() const { return {label_.first, label_.second}; }
    void setValueLabelText(const QString& text);
    QString valueLabelText() const { return label_.text; }

    // An advance's colour on the template's scale, as the surface shades it.
    QColor advanceColour(double advance) const;

    void suspendRedraw() { suspended_ = true; }
    void resumeRedraw();

    // The value behind a data cell (row, column) of the table's grid, and the grid's rows.
    virtual double cellValue(int row, int column) const = 0;
    virtual void setCellValue(int row, int column, double value) = 0;
    virtual int gridRows() const = 0;
    // The working table of the chart's kind in and out.
    virtual void takeTable(const ModuleData& data) = 0;
    virtual void giveTable(ModuleData& data) const = 0;
    // Where the value label of grid cell (row, column) attaches.
    virtual std::pair<int, int> labelPointOf(int row, int column) const = 0;

    // The chart as it is drawn now, without its value label: for a printed page.
    virtual ChartPicture picture() const = 0;
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
    void redraw();
    const ValueLabel& label() const { return label_; }

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    ChartKind kind_;
    ChartTemplate builtIn_;
    std::optional<ChartTemplate> template_;
    ValueLabel label_;
    bool suspended_ = false;
};

// The 2D chart: series 1 is the advance curve, series 2 the flat trigger-timing line, each
// of 21 points numbered 1 to 21 over 0 to 10000 RPM. Grid row 1 is series 1.
class LineChart : public TimingChart {
    Q_OBJECT
  public:
    LineChart(const QString& name, QWidget* parent);

    void setTable(const Table2DCells& table);
    const Table2DCells& table() const { return table_; }
    double value(int series, int point) const { return table_(point, series); }
    void setValue(int series, int point, double value);
    // Where a data point is drawn in a chart of the given rectangle.
    QPointF pointPosition(int series, int point, const QRectF& rect) const;

    double cellValue(int, int column) const override { return value(1, column); }
    void setCellValue(int, int column, double value) override { setValue(1, column, value); }
    int gridRows() const override { return 1; }
    void takeTable(const ModuleData& data) override { setTable(data.Table2D); }
    void giveTable(ModuleData& data) const override { data.Table2D = table_; }
    std::pair<int, int> labelPointOf(int, int column) const override { return {1, column}; }
    ChartPicture picture() const override;
    ChartPick pick(const QPointF& pixel) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    LineChartData data() const { return {table_, look(), label()}; }
    Table2DCells table_;
};

// The 3D chart: a 21 x 8 surface addressed (x, y), x the RPM column and y the pressure row
// (y = 1 the highest pressure), shaded by advance. Grid row r shows y = 9 - r. The right or
// middle button turns it, the wheel zooms, and so do the arrow keys, Page Up and Page Down
// while it has the focus; Home brings back the view it opened with.
class SurfaceChart : public TimingChart {
    Q_OBJECT
  public:
    SurfaceChart(const QString& name, QWidget* parent);

    void setTable(const Table3DCells& table);
    const Table3DCells& table() const { return table_; }
    double value(int x, int y) const { return table_(x, y); }
    void setValue(int x, int y, double value);

    // The grid's selected block and current cell, outlined on the surface.
    void setSelection(const SurfaceSelection& selection);
    const SurfaceSelection& selection() const { return selection_; }

    // The labels of the pressure rows, y = 1 to 8.
    void setPressureLabels(const std::array<int, 8>& labels);

    void setView(double rotation, double elevation, double scale);
    // The projection of a chart drawn in the given rectangle.
    SurfaceProjection projection(const QRectF& rect) const;
    // The value point (x, y) would have if the surface passed through the pixel.
    double valueThrough(int x, int y, const QPointF& pixel) const;

    double cellValue(int row, int column) const override;
    void setCellValue(int row, int column, double value) override;
    int gridRows() const override;
    void takeTable(const ModuleData& data) override { setTable(data.Table3D); }
    void giveTable(ModuleData& data) const override { data.Table3D = table_; }
    std::pair<int, int> labelPointOf(int row, int column) const override;
    ChartPicture picture() const override;
    ChartPick pick(const QPointF& pixel) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    SurfaceChartData data() const;
    Table3DCells table_;
    std::array<int, 8> pressureLabels_{30, 28, 26, 24, 22, 20, 18, 16};
    double rotation_ = SurfaceProjection::kDefaultRotation;
    double elevation_ = SurfaceProjection::kDefaultElevation;
    double scale_ = 1;
    std::optional<QPoint> turning_;  // where a turning drag last was
    SurfaceSelection selection_;
};

}  // namespace qz
