#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include "support/temp_folder.h"

namespace qz::test {

// A program folder for one test: the shipped resources, less any named files, plus any
// configuration text given.
class ProgramFolder : public TempFolder {
  public:
    explicit ProgramFolder(const QStringList& without = {}) {
        const QDir resources(QStringLiteral(QZ_RESOURCES_DIR));
        for (const QString& name : resources.entryList(QDir::Files)) {
            if (!without.contains(name)) QFile::copy(resources.filePath(name), path() + '/' + name);
        }
        if (without.contains(QStringLiteral("help"))) return;
        QDir(path()).mkdir(QStringLiteral("help"));
        const QDir help(resources.filePath(QStringLiteral("help")));
        for (const QString& name : help.entryList(QDir::Files))
            QFile::copy(help.filePath(name), path() + "/help/" + name);
    }
    using TempFolder::path;
    QString path() const { return folderPath(); }
};

}  // namespace qz::test
