#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <string>

namespace qz::test {

// A folder of its own for one test, removed afterwards.
class TempFolder {
  public:
    TempFolder() { EXPECT_TRUE(dir_.isValid()); }
    QString folderPath() const { return dir_.path(); }
    std::string path(const QString& name) const { return dir_.filePath(name).toStdString(); }
    std::string write(const QString& name, const QByteArray& bytes) const {
        QFile file(dir_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }
    QByteArray read(const QString& name) const {
        QFile file(dir_.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

  private:
    QTemporaryDir dir_;
};

}  // namespace qz::test
