#include "table/block_edits.h"
#include "table/cell_text.h"
#include "table/table_views.h"

namespace qz {
namespace {

constexpr double kPickTolerance = 15;

bool leftAlone(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    return button == Qt::LeftButton && modifiers == Qt::NoModifier;
}

bool picked(const ChartPick& pick) {
    return pick.inPlotArea && pick.first >= 1 && pick.second >= 1 && pick.distance < kPickTolerance;
}

}  // namespace

void TableViews::connectCharts() {
    const auto wire = [this](TimingChart* chart, auto down, auto move, auto up) {
        QObject::connect(chart, &TimingChart::mousePressed, &connections_,
                         [this, down](Qt::MouseButton b, Qt::KeyboardModifiers m, QPointF at) {
                             (this->*down)(b, m, at);
                         });
        QObject::connect(chart, &TimingChart::mouseMoved, &connections_,
                         [this, move](Qt::MouseButtons b, Qt::KeyboardModifiers m, QPointF at) {
                             (this->*move)(b, m, at);
                         });
        QObject::connect(
            chart, &TimingChart::mouseReleased, &connections_,
            [this, up](Qt::MouseButton b, Qt::KeyboardModifiers m, QPointF) { (this->*up)(b, m); });
        QObject::connect(chart, &TimingChart::doubleClicked, &connections_,
                         [this] { IgnoreNextRelease = true; });
    };
    wire(chart2D_, &TableViews::Chart2D1_MouseDown, &TableViews::Chart2D1_MouseMove,
         &TableViews::Chart2D1_MouseUp);
    wire(chart3D_, &TableViews::Chart3D1_MouseDown, &TableViews::Chart3D1_MouseMove,
         &TableViews::Chart3D1_MouseUp);
}

void TableViews::Chart2D1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                    QPointF at) {
    if (IgnoreNextRelease) return;
    DragStartY = at.toPoint().y();
    if (!leftAlone(button, modifiers)) return;
    if (!grid2D_->commitOpenEditor()) {  // a typed cell is kept, or refused, before the press
        DragSeries = DragPoint = 0;
        return;
    }
    const ChartPick pick = chart2D_->pick(at);
    if (!picked(pick) || pick.first != 1) {
        DragSeries = DragPoint = 0;
        return;
    }
    DragSeries = pick.first;
    DragPoint = pick.second;
    beforeEdit_ = snapshot();
    grid2D_->setCurrentCell(1, DragPoint);
    chart2D_->suspendRedraw();
    DragStartValue = chart2D_->value(DragSeries, DragPoint);
    chart2D_->attachValueLabel(DragSeries, DragPoint);
    chart2D_->setValueLabelText(cellNumber(DragStartValue, "#0.0"));
    chart2D_->setValueLabelVisible(true);
    chart2D_->resumeRedraw();
}

void TableViews::Chart2D1_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                    QPointF at) {
    if (IgnoreNextRelease || !(buttons & Qt::LeftButton) || modifiers != Qt::NoModifier) return;
    if (DragSeries != 1 || DragPoint == 0) return;
    const double value = dragged2D(DragStartValue, DragStartY, at.toPoint().y(), state_.TrigTiming);
    chart2D_->suspendRedraw();
    chart2D_->setValue(DragSeries, DragPoint, value);
    chart2D_->setValueLabelText(cellNumber(value, "#0.0"));
    chart2D_->resumeRedraw();
}

// A release ends the drag whatever keys are held then: the point's cell shows its value.
void TableViews::Chart2D1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers) {
    if (IgnoreNextRelease) {
        IgnoreNextRelease = false;
        return;
    }
    if (button != Qt::LeftButton || DragSeries != 1 || DragPoint < 1) return;
    writeCell(false, 1, DragPoint, chart2D_->value(DragSeries, DragPoint));
    chart2D_->setValueLabelVisible(false);
    if (beforeEdit_) recordEdit(*beforeEdit_, QStringLiteral("Drag"));
    beforeEdit_.reset();
}

void TableViews::Chart3D1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                    QPointF at) {
    if (IgnoreNextRelease || button != Qt::LeftButton) return;
    const bool shift = modifiers == Qt::ShiftModifier;
    if (modifiers != Qt::NoModifier && !shift) return;
    if (!grid3D_->commitOpenEditor()) {
        DragX = DragY = 0;
        return;
    }
    const ChartPick pick = chart3D_->pick(at);
    if (picked(pick)) {
        DragX = pick.first;
        DragY = pick.second;
        beforeEdit_ = snapshot();
        if (!shift) grid3D_->setCurrentCell(kPressureRows + 1 - DragY, DragX);
        ShiftOffset = 0;
        chart3D_->suspendRedraw();
        chart3D_->attachValueLabel(DragX, DragY);
        chart3D_->setValueLabelText(shift ? QStringLiteral("0.0")
                                          : cellNumber(chart3D_->value(DragX, DragY), "#0.0"));
        chart3D_->setValueLabelVisible(true);
        chart3D_->resumeRedraw();
    } else {
        DragX = DragY = 0;
    }
    if (shift) grid3D_->setCurrentCell(0, 0);
}

void TableViews::Chart3D1_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                    QPointF at) {
    if (IgnoreNextRelease || !(buttons & Qt::LeftButton) || DragX == 0 || DragY == 0) return;
    const double z = chart3D_->valueThrough(DragX, DragY, at);
    if (modifiers == Qt::NoModifier) {
        const double value = dragged3D(z, state_.TrigTiming);
        chart3D_->suspendRedraw();
        chart3D_->setValue(DragX, DragY, value);
        chart3D_->setValueLabelText(cellNumber(value, "#0.0"));
        chart3D_->resumeRedraw();
    } else if (modifiers == Qt::ShiftModifier) {
        ShiftOffset = dragOffset(z, chart3D_->value(DragX, DragY));
        chart3D_->setValueLabelText(cellNumber(ShiftOffset, "#0.0"));
    }
}

// With Shift the offset goes into Table3D itself, the one edit that writes the working table
// directly. Without it the release ends a point's drag, whatever else is held: the point's
// own cell shows its value (the current cell may be the header corner of a Shift press).
void TableViews::Chart3D1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    if (IgnoreNextRelease) {
        IgnoreNextRelease = false;
        return;
    }
    if (button != Qt::LeftButton || DragX < 1 || DragY < 1) return;
    if (modifiers != Qt::ShiftModifier) {
        writeCell(true, kPressureRows + 1 - DragY, DragX, chart3D_->value(DragX, DragY));
        chart3D_->setValueLabelVisible(false);
        if (beforeEdit_) recordEdit(*beforeEdit_, QStringLiteral("Drag"));
    } else {
        chart3D_->suspendRedraw();
        state_.Table3D = chart3D_->table();
        for (int y = 1; y <= kPressureRows; ++y)
            for (int x = 1; x <= kRpmBreakpoints; ++x)
                state_.Table3D(x, y) =
                    shifted(state_.Table3D(x, y), ShiftOffset, state_.TrigTiming);
        chart3D_->setTable(state_.Table3D);
        chart3D_->resumeRedraw();
        chart3D_->setValueLabelVisible(false);
        Copy3DChartToGrid();
        if (beforeEdit_) recordEdit(*beforeEdit_, QStringLiteral("Offset"));
    }
    beforeEdit_.reset();
}

}  // namespace qz
