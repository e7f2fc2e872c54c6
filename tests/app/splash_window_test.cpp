#include "app/splash_window.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

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

TEST(Splash, WithoutAConfigurationFileShowsTheBuiltInBranding) {
    SplashFixture f(nullptr);
    const frmTunewell_Splash& splash = *f.splash;
    EXPECT_TRUE(f.prompts.shown().empty());
    EXPECT_EQ(splash.lblCompanyName->text(), "Kelvane");
    const QFont font = splash.lblCompanyName->font();
    EXPECT_EQ(font.family(), "Arial");
    EXPECT_EQ(font.pointSizeF(), 28);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_FALSE(splash.imgLogo->pixmap().isNull());
    EXPECT_EQ(
        f.state.SplashSettings,
        (std::vector<std::string>{"Kelvane", "Arial", "28", "bold italic", "Kelvane_Logo.gif"}));
    EXPECT_EQ(f.state.CompanyInfo.size(), 6u);
    EXPECT_EQ(QCoreApplication::applicationName(), "Tunewell_QZ_Splash");
    EXPECT_TRUE(splash.tmrSplashUnload->isActive());
    EXPECT_EQ(splash.tmrSplashUnload->interval(), 4000);
    EXPECT_TRUE(splash.tmrSplashUnload->isSingleShot());
}

TEST(Splash, TheConfigurationBrandsTheCompanyLabel) {
    const struct {
        const char* style;
        const char* size;
        bool bold, italic;
        double points;
    } cases[] = {
        {"italic", "14", false, true, 14},
        {"ITALIC", "14.5 pt", false, true, 14.5},
        {"", "14", false, false, 14},
        {"Bold", "x", true, false, 8.25},  // no leading number: the label keeps its size
        {"italic BOLD", "30", true, true, 30},
    };
    for (const auto& c : cases) {
        const std::string config =
            std::string("!\nAcme\nCourier\n") + c.size + "\n" + c.style + "\nnull\n!\nAcme\n";
        SplashFixture f(config.c_str());
        const frmTunewell_Splash& splash = *f.splash;
        EXPECT_TRUE(f.prompts.shown().empty()) << c.style;
        EXPECT_EQ(splash.lblCompanyName->text(), "Acme");
        const QFont font = splash.lblCompanyName->font();
        EXPECT_EQ(font.family(), "Courier");
        EXPECT_EQ(font.bold(), c.bold) << c.style;
        EXPECT_EQ(font.italic(), c.italic) << c.style;
        EXPECT_EQ(font.pointSizeF(), c.points) << c.size;
        EXPECT_TRUE(splash.imgLogo->pixmap().isNull()) << "a NULL logo in any case shows none";
    }
}

TEST(Splash, MissingItemsAndPicturesAreReportedThroughTheTrap) {
    // The program's own texts, and in the detail the file and line at fault.
    const struct {
        const char* why;
        const char* config;
        std::vector<std::string> errors;
        std::string detail;  // of the first error, after the configuration file's path
    } cases[] = {
        {"missing logo file",
         "!\nAcme\nArial\n20\nbold\nnope.gif\n!\nAcme\n",
         {"File not found"},
         ", line 6 names the logo "},
        {"not a picture",
         "Acme\nArial\n20\nbold\nTunewell_QZ.cfg\n!\nAcme\n",
         {"Invalid picture"},
         ", line 5 names the logo "},
        {"three items",
         "Acme\nArial\n20\n!\nAcme\n",
         {"Invalid procedure call or argument", "Invalid procedure call or argument"},
         ", line 4: item 4 of the splash settings is missing (the section has 3 lines)."},
        {"no end marker",
         "Acme\nArial\n",
         {"Input past end of file", "Invalid procedure call or argument",
          "Invalid procedure call or argument", "Invalid procedure call or argument"},
         ", line 3: the file ends before the splash settings do (no \"!\" line after them)."},
    };
    for (const auto& c : cases) {
        SplashFixture f(c.config, static_cast<int>(c.errors.size()));
        EXPECT_EQ(f.prompts.messages(), c.errors) << c.why;
        const std::string config = f.folder.file("Tunewell_QZ.cfg");
        EXPECT_EQ(f.prompts.shown().front().detail.substr(0, config.size() + c.detail.size()),
                  config + c.detail)
            << c.why;
        EXPECT_TRUE(f.splash->imgLogo->pixmap().isNull()) << c.why;
        EXPECT_EQ(f.splash->lblCompanyName->text(), "Acme") << c.why;
    }
}

}  // namespace
}  // namespace qz
