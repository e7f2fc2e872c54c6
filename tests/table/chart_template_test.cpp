#include "table/chart_template.h"

#include <gtest/gtest.h>

#include "support/program_folder.h"

namespace qz {
namespace {

TEST(ChartTemplate, ReadsItsSettingsAndRefusesAnythingElse) {
    const QString good =
        "qz-chart-template 1\n# comment\nkind = 3D\ntitle = Advance\n"
        "value-minimum = -10\nsurface-low-colour = #102030\n";
    const auto parsed = parseChartTemplate(good, ChartKind::Surface3D);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->title, "Advance");
    EXPECT_EQ(parsed->valueMinimum, -10);
    EXPECT_EQ(parsed->surfaceLow, QColor(0x10, 0x20, 0x30));

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
        {"empty file", "", ChartKind::Line2D},
    };
    for (const auto& c : refused) EXPECT_FALSE(parseChartTemplate(c.text, c.kind)) << c.why;
}

TEST(ChartTemplate, TheShippedTemplatesLoad) {
    const QString folder = QStringLiteral(QZ_RESOURCES_DIR);
    EXPECT_TRUE(loadChartTemplate(folder + "/QZ_2D_Timing_Chart.oc2", ChartKind::Line2D));
    for (const char* bar : {"1", "2", "3"})
        EXPECT_TRUE(loadChartTemplate(folder + "/QZ_3D_" + bar + "Bar_Timing_Chart.oc3",
                                      ChartKind::Surface3D))
            << bar;
    EXPECT_FALSE(loadChartTemplate(folder + "/missing.oc2", ChartKind::Line2D));
}

}  // namespace
}  // namespace qz
