
#include "files/restore_points.h"
#include "qz1/bad_input.h"
#include "qz1/commands.h"

namespace qz1 {
namespace {

qz::RestorePoints pointsOf(const Arguments& arguments) {
    return qz::RestorePoints(QString::fromStdString(
        arguments.value("--folder").value_or(qz::restorePointFolder().toStdString())));
}

std::string orDash(const QString& text) {
    return text.isEmpty() ? std::string("-") : text.toStdString();
}

}  // namespace

int runRestoreList(const Arguments& arguments, std::ostream& out, std::ostream&) {
    int index = 0;
    for (const qz::RestorePoint& point : pointsOf(arguments).list())
        out << ++index << '\t' << qz::restorePointTime(point).toStdString() << '\t'
            << point.origin.toStdString() << '\t' << orDash(point.fileName) << '\t'
            << orDash(point.firmwareId) << '\n';
    return kExitOk;
}

int runRestoreGet(const Arguments& arguments, std::ostream&, std::ostream&) {
    const std::string& given = arguments.positional(0);
    const auto points = pointsOf(arguments).list();
    std::size_t index = 0;
    try {
        index = std::stoul(given);
    } catch (const std::exception&) {
    }
    if (given.find_first_not_of("0123456789") != std::string::npos || index < 1 ||
        index > points.size())
        throw BadInput("no restore point " + given + " (there are " +
                       std::to_string(points.size()) + "; see qz1 restore list)");
    const std::string output = *arguments.value("-o");
    qz::EepromBytes image{};
    aboutFile(points[index - 1].dataPath.toStdString(),
              [&] { image = qz::RestorePoints::read(points[index - 1]); });
    aboutFile(output, [&] { qz::writeDataFile(QString::fromStdString(output), image); });
    return kExitOk;
}

}  // namespace qz1
