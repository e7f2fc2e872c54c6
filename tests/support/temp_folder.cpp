#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <QFile>

namespace qz::test {

TempFolder::TempFolder() {
    EXPECT_TRUE(dir_.isValid());
}

std::string TempFolder::path(const QString& name) const {
    return dir_.filePath(name).toStdString();
}

std::string TempFolder::write(const QString& name, const QByteArray& bytes) const {
    QFile file(dir_.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path(name);
}

QByteArray TempFolder::read(const QString& name) const {
    QFile file(dir_.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace qz::test
