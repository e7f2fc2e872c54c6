#include "app/splash_window.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTimer>

#include "support/program_folder.h"
#include "support/scripted_prompts.h"

namespace qz {
namespace {

using test::ProgramFolder;
using test::ScriptedPrompts;

// The splash window over a program folder with the given configuration file (none: null).
struct SplashFixture {
    explicit SplashFixture(const char* config, int errors = 0)
        : folder(config ? QStringList{} : QStringList{"Tunewell_QZ.cfg"}) {
        if (config) folder.write("Tunewell_QZ.cfg", config);
        for (int i = 0; i < errors; ++i) prompts.answer(PromptAnswer::Ignore);
        splash = std::make_unique<frmTunewell_Splash>(state, prompts, folder.path());
    }
    ProgramFolder folder;
    ProgramState state;
    ScriptedPrompts prompts;
    std::unique_ptr<frmTunewell_Splash> splash;
};

// The configuration brands the company label; without one the built-in branding shows, with
// its logo, and the splash unloads itself after four seconds.
TEST(Splash, TheConfigurationBrandsTheCompanyLabel) {
    // The style and size configured (no style: no configuration file), and the font they give.
    const std::tuple<const char*, const char*, bool, bool, double> cases[] = {
        {nullptr, "", true, true, 28},
        {"ITALIC", "14.5 pt", false, true, 14.5},
        {"", "14", false, false, 14},
        {"Bold", "x", true, false, 8.25},  // no leading number: the label keeps its size
        {"italic BOLD", "30", true, true, 30},
    };
    for (const auto& [style, size, bold, italic, points] : cases) {
        const std::string config =
            style ? std::string("!\nAcme\nCourier\n") + size + "\n" + style + "\nnull\n!\nAcme\n"
                  : "";
        SplashFixture f(style ? config.c_str() : nullptr);
        const frmTunewell_Splash& splash = *f.splash;
        const QFont font = splash.lblCompanyName->font();
        EXPECT_TRUE(f.prompts.shown().empty()) << style;
        EXPECT_EQ(std::tuple(splash.lblCompanyName->text(), font.family(), font.bold(),
                             font.italic(), font.pointSizeF()),
                  std::tuple(QString(style ? "Acme" : "Kelvane"),
                             QString(style ? "Courier" : "Arial"), bold, italic, points))
            << style << " " << size;
        EXPECT_EQ(splash.imgLogo->pixmap().isNull(), style != nullptr)
            << "a NULL logo in any case shows none";
        if (style) continue;
        EXPECT_EQ(f.state.SplashSettings,
                  (std::vector<std::string>{"Kelvane", "Arial", "28", "bold italic",
                                            "Kelvane_Logo.gif"}));
        const QTimer& unload = *splash.tmrSplashUnload;
        EXPECT_EQ(std::tuple(f.state.CompanyInfo.size(), QCoreApplication::applicationName(),
                             unload.isActive(), unload.interval(), unload.isSingleShot()),
                  std::tuple(std::size_t(6), QString("Tunewell_QZ_Splash"), true, 4000, true));
    }
}

// The program's own texts, and in the detail the file and line at fault.
TEST(Splash, MissingItemsAndPicturesAreReportedThroughTheTrap) {
    const std::string invalid = "Invalid procedure call or argument";
    // clang-format off
    // The file, its errors, and the detail of the first after the configuration file's path.
    const std::tuple<const char*, std::vector<std::string>, std::string> cases[] = {
        {"!\nAcme\nArial\n20\nbold\nnope.gif\n!\nAcme\n", {"File not found"}, ", line 6 names the logo "},
        {"Acme\nArial\n20\nbold\nTunewell_QZ.cfg\n!\nAcme\n", {"Invalid picture"}, ", line 5 names the logo "},
        {"Acme\nArial\n20\n!\nAcme\n", {invalid, invalid}, ", line 4: item 4 of the splash settings is missing (the section has 3 lines)."},
        {"Acme\nArial\n", {"Input past end of file", invalid, invalid, invalid}, ", line 3: the file ends before the splash settings do (no \"!\" line after them)."},
    };
    // clang-format on
    for (const auto& [text, errors, detail] : cases) {
        SplashFixture f(text, static_cast<int>(errors.size()));
        EXPECT_EQ(f.prompts.messages(), errors) << text;
        const std::string config = f.folder.path("Tunewell_QZ.cfg");
        EXPECT_EQ(f.prompts.shown().front().detail.substr(0, config.size() + detail.size()),
                  config + detail);
        EXPECT_TRUE(f.splash->imgLogo->pixmap().isNull());
        EXPECT_EQ(f.splash->lblCompanyName->text(), "Acme");
    }
}

}  // namespace
}  // namespace qz
