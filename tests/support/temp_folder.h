#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <string>

namespace qz::test {

// A folder of its own for one test, removed afterwards.
class TempFolder {
  public:
    TempFolder();
    QString folderPath() const { return dir_.path(); }
    std::string path(const QString& name) const;
    std::string write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

  private:
    QTemporaryDir dir_;
};

}  // namespace qz::test
