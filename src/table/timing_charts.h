#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "core/module_data.h"
#include "table/chart_template.h"

namespace qz {

// What both charts share: the template that dresses them, value label 1 (shown or hidden)
// and suspended redrawing, so that many value changes show as one redraw.
class TimingChart : public QWidget {
    Q_OBJECT
  public:
    TimingChart(const QString& name, ChartKind kind, QWidget* parent);

    // Loads a template file; false (and the chart keeps its template) when it cannot.
    bool loadTemplate(const QString& path);
    const std::optional<ChartTemplate>& chartTemplate() const { return template_; }

    void setValueLabelVisible(bool visible);
    bool valueLabelVisible() const { return valueLabelVisible_; }

    void suspendRedraw() { suspended_ = true; }
    void resumeRedraw();

  protected:
    void redraw();

  private:
    ChartKind kind_;
    std::optional<ChartTemplate> template_;
    bool valueLabelVisible_ = false;
    bool suspended_ = false;
};

// The 2D chart: series 1 is the advance curve, series 2 the flat trigger-timing line, each
// of 21 points numbered 1 to 21.
class LineChart : public TimingChart {
    Q_OBJECT
  public:
    LineChart(const QString& name, QWidget* parent);

    void setTable(const Table2DCells& table);
    const Table2DCells& table() const { return data_; }
    double value(int series, int point) const { return data_(point, series); }
    void setValue(int series, int point, double value);

  private:
    Table2DCells data_;
};

// The 3D chart: a 21 x 8 surface addressed (x, y), x the RPM column and y the pressure row.
class SurfaceChart : public TimingChart {
    Q_OBJECT
  public:
    SurfaceChart(const QString& name, QWidget* parent);

    void setTable(const Table3DCells& table);
    const Table3DCells& table() const { return data_; }
    double value(int x, int y) const { return data_(x, y); }
    void setValue(int x, int y, double value);

  private:
    Table3DCells data_;
};

}  // namespace qz
