#include "app/splash_window.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

#include "core/error_trap.h"
#include "core/leading_number.h"
#include "core/program_error.h"
#include "files/configuration.h"
#include "widgets/centre_on_screen.h"

namespace qz {
namespace {

QLabel* label(const QString& name, const QString& text, double points, bool bold, QWidget* parent) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    result->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    result->setFont(font);
    return result;
}

bool contains(const std::string& text, const QString& word) {
    return QString::fromStdString(text).contains(word, Qt::CaseInsensitive);
}

}  // namespace

frmTunewell_Splash::frmTunewell_Splash(ProgramState& state, Prompts& prompts,
                                       const QString& programFolder, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmTunewell_Splash"));
    auto* fraSplash = new QFrame(this);
    fraSplash->setObjectName(QStringLiteral("fraSplash"));
    fraSplash->setFrameStyle(QFrame::Box | QFrame::Raised);
    fraSplash->setLineWidth(2);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(fraSplash);

    imgLogo = new QLabel(fraSplash);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setAlignment(Qt::AlignCenter);
    lblCompanyName =
        label(QStringLiteral("lblCompanyName"), QStringLiteral("Kelvane"), 8.25, true, fraSplash);
    lblProductName = label(QStringLiteral("lblProductName"), QStringLiteral("Tunewell QZ"), 20.25,
                           true, fraSplash);
    lblVersion =
        label(QStringLiteral("lblVersion"), QStringLiteral("Version 1.5"), 12, true, fraSplash);
    lblAuthorNotice = label(QStringLiteral("lblAuthorNotice"), QString::fromUtf8(kAuthorNotice),
                            8.25, false, fraSplash);

    auto* layout = new QVBoxLayout(fraSplash);
    layout->setContentsMargins(36, 28, 36, 20);
    layout->setSpacing(10);
    layout->addWidget(imgLogo);
    layout->addWidget(lblCompanyName);
    layout->addSpacing(8);
    layout->addWidget(lblProductName);
    layout->addWidget(lblVersion);
    layout->addSpacing(14);
    layout->addWidget(lblAuthorNotice);

    tmrSplashUnload = new QTimer(this);
    tmrSplashUnload->setObjectName(QStringLiteral("tmrSplashUnload"));
    tmrSplashUnload->setInterval(4000);
    tmrSplashUnload->setSingleShot(true);
    connect(tmrSplashUnload, &QTimer::timeout, this, &QDialog::accept);

    Form_Load(state, prompts, programFolder);
    tmrSplashUnload->start();

    centreOnScreen(*this);
}

void frmTunewell_Splash::Form_Load(ProgramState& state, Prompts& prompts,
                                   const QString& programFolder) {
    ErrorTrap trap(prompts);
    trap.run([&] {
        readConfiguration(programFolder + "/" + kConfigurationFile, state, trap);
        const auto& settings = state.SplashSettings;
        trap.step([&] {
            lblCompanyName->setText(QString::fromStdString(configurationItem(state, settings, 1)));
        });
        QFont font = lblCompanyName->font();
        trap.step(
            [&] { font.setFamily(QString::fromStdString(configurationItem(state, settings, 2))); });
        trap.step([&] {
            // A size that is not a positive number keeps the label's own size.
            const double size = leadingNumber(configurationItem(state, settings, 3));
            if (size > 0 && size < 1000) font.setPointSizeF(size);
        });
        trap.step([&] {
            font.setBold(contains(configurationItem(state, settings, 4), QStringLiteral("bold")));
            font.setItalic(
                contains(configurationItem(state, settings, 4), QStringLiteral("italic")));
        });
        lblCompanyName->setFont(font);
        trap.step([&] {
            const std::string& logo = configurationItem(state, settings, 5);
            if (QString::fromStdString(logo).toUpper() == QLatin1String("NULL")) return;
            const QString path = programFolder + "/" + QString::fromStdString(logo);
            // Where the logo is named: the fifth line of the splash settings.
            const std::string named = state.ConfigurationPath + ", line " +
                                      std::to_string(state.SplashSettingsLine + 4) +
                                      " names the logo " + path.toStdString();
            if (!QFileInfo(path).isFile())
                throw ProgramError(kFileNotFoundErrorNumber, "Tunewell_QZ", "File not found",
                                   named);
            QPixmap picture;
            if (!picture.load(path))
                throw ProgramError(kInvalidPictureErrorNumber, "Tunewell_QZ", "Invalid picture",
                                   named);
            imgLogo->setPixmap(picture);
        });
        QCoreApplication::setApplicationName(QStringLiteral("Tunewell_QZ_Splash"));
    });
}

}  // namespace qz
