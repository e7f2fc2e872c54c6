#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include "support/temp_folder.h"

namespace qz::test {

// A program folder for one test: the shipped resources, less any named files, plus any
// configuration text given.
class ProgramFolder {
  public:
    explicit ProgramFolder(const QStringList& without = {}) {
        const QDir resources(QStringLiteral(QZ_RESOURCES_DIR));
        for (const QString& name : resources.entryList(QDir::Files)) {
            if (!without.contains(name))
                QFile::copy(resources.filePath(name), QString::fromStdString(folder_.path(name)));
        }
        if (without.contains(QStringLiteral("help"))) return;
        QDir(folder_.folderPath()).mkdir(QStringLiteral("help"));
        const QDir help(resources.filePath(QStringLiteral("help")));
        for (const QString& name : help.entryList(QDir::Files))
            QFile::copy(help.filePath(name), QString::fromStdString(folder_.path("help/" + name)));
    }
    QString path() const { return folder_.folderPath(); }
    std::string file(const QString& name) const { return folder_.path(name); }
    std::string write(const QString& name, const QByteArray& bytes) const {
        return folder_.write(name, bytes);
    }
    QByteArray read(const QString& name) const { return folder_.read(name); }

  private:
    TempFolder folder_;
};

}  // namespace qz::test
