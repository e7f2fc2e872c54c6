#include "files/program_folder.h"

#include <QDir>
#include <QFile>

namespace qz {

QString findProgramFolder(const QString& executableFolder) {
    const QString marker = QStringLiteral("/QZ_2D_Timing_Chart.oc2");
    if (QFile::exists(executableFolder + marker)) return executableFolder;
    const QString shared =
        QDir::cleanPath(executableFolder + QStringLiteral("/../share/tunewell-qz"));
    if (QFile::exists(shared + marker)) return shared;
    return executableFolder;
}

}  // namespace qz
