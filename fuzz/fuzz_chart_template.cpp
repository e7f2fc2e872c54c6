// A chart template of any text, read as either kind.
#include <QString>

#include "charts/chart_template.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const auto kind : {qz::ChartKind::Line2D, qz::ChartKind::Surface3D}) {
        const auto parsed = qz::parseChartTemplate(text, kind);
        if (parsed && parsed->kind != kind) std::abort();
    }
    return 0;
}
