#include "charts/chart_template.h"

#include <gtest/gtest.h>

#include "charts/table_chart.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace qz {
namespace {

TEST(ChartTemplate, ReadsItsSettingsAndRefusesAnythingElse) {
    const QString good =
        "qz-chart-template 1\n# comment\nkind = 3D\ntitle = Advance\n"
        "value-minimum = -10\nsurface-low-colour = #102030\n";
    const auto parsed = parseChartTemplate(good, ChartKind::Surface3D);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(std::tuple(parsed->title, parsed->valueMinimum, parsed->surfaceLow),
              std::tuple(QString("Advance"), -10.0, QColor(0x10, 0x20, 0x30)));

    const struct {
        const char* why;
        QString text;
        ChartKind kind;
    } refused[] = {
        {"other kind", good, ChartKind::Line2D},
        {"no first line", "kind = 3D\n", ChartKind::Surface3D},
        {"no kind", "qz-chart-template 1\ntitle = x\n", ChartKind::Surface3D},
        {"unknown key", "qz-chart-template 1\nkind = 2D\nshade = 3\n", ChartKind::Line2D},
        {"no equals sign", "qz-chart-template 1\nkind = 2D\ntitle\n", ChartKind::Line2D},
        {"bad colour", "qz-chart-template 1\nkind = 2D\nseries1-colour = purplish\n",
         ChartKind::Line2D},
        {"empty scale", "qz-chart-template 1\nkind = 2D\nvalue-minimum = 50\n", ChartKind::Line2D},
        {"no number", "qz-chart-template 1\nkind = 2D\nvalue-minimum = nan\n", ChartKind::Line2D},
        {"beyond a turn", "qz-chart-template 1\nkind = 3D\nvalue-minimum = -1e9\n",
         ChartKind::Surface3D},
        {"far beyond", "qz-chart-template 1\nkind = 3D\nvalue-maximum = 1e20\n",
         ChartKind::Surface3D},
        {"empty file", "", ChartKind::Line2D},
    };
    for (const auto& c : refused) EXPECT_FALSE(parseChartTemplate(c.text, c.kind)) << c.why;
}

// Each sensor's template, found by its code; any code but 1 and 2 is the 1-bar sensor's.
TEST(ChartTemplate, TheShippedTemplatesLoad) {
    const QString folder = QStringLiteral(QZ_RESOURCES_DIR);
    EXPECT_TRUE(loadChartTemplate(folder + "/QZ_2D_Timing_Chart.oc2", ChartKind::Line2D));
    for (const auto& [code, bar] : {std::pair{0, "1"}, {1, "2"}, {2, "3"}, {7, "1"}}) {
        const auto loaded = loadChartTemplate(
            folder + "/" + chartTemplateFile(TableKind::Table3D, static_cast<std::uint8_t>(code)),
            ChartKind::Surface3D);
        ASSERT_TRUE(loaded) << code;
        EXPECT_EQ(loaded->title, QString("Ignition Advance, %1 Bar MAP Sensor").arg(bar));
    }
    EXPECT_FALSE(loadChartTemplate(folder + "/missing.oc2", ChartKind::Line2D));
    test::TempFolder temp;
    EXPECT_FALSE(loadChartTemplate(QString::fromStdString(test::makeFifo(temp.path("pipe.oc2"))),
                                   ChartKind::Line2D))
        << "a pipe is refused, not waited on";
}

}  // namespace
}  // namespace qz
