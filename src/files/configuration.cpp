#include "files/configuration.h"

#include <QFile>
#include <QStringDecoder>
#include <optional>

#include "core/program_error.h"
#include "files/data_file.h"

namespace qz {
namespace {

// Lines of a text file ended by LF, CR LF or CR. A file that is not UTF-8 is read as
// Latin-1, as configuration files written on older systems are.
class LineReader {
  public:
    explicit LineReader(const QByteArray& bytes) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        text_ = utf8(bytes);
        if (utf8.hasError()) text_ = QString::fromLatin1(bytes);
    }
    bool atEnd() const { return position_ >= text_.size(); }
    // The number of the line readLine() reads next.
    int lineNumber() const { return line_; }
    std::string readLine(const QString& path) {
        if (atEnd())
            throw ProgramError(62, "Tunewell_QZ", "Input past end of file",
                               path.toStdString() + ", line " + std::to_string(line_) +
                                   ": the file ends before the splash settings do (no \"!\" line "
                                   "after them).");
        ++line_;
        qsizetype end = position_;
        while (end < text_.size() && text_[end] != u'\n' && text_[end] != u'\r') ++end;
        const QString line = text_.mid(position_, end - position_);
        position_ = end;
        if (position_ < text_.size() && text_[position_] == u'\r') ++position_;
        if (position_ < text_.size() && text_[position_] == u'\n') ++position_;
        return line.toStdString();
    }

  private:
    QString text_;
    qsizetype position_ = 0;
    int line_ = 1;
};

bool isMarker(const std::string& line) {
    return !line.empty() && line.front() == '!';
}

}  // namespace

std::vector<std::string> defaultSplashSettings() {
    return {"Kelvane", "Arial", "28", "bold italic", "Kelvane_Logo.gif"};
}

std::vector<std::string> defaultCompanyInfo() {
    return {"Kelvane",
            "Kelvane Engine Electronics, Inc.",
            "1200 Foundry Road, Suite 5",
            "Millbrook, OH 44000",
            "Phone: (555) 013-4500",
            "www.kelvane.example"};
}

void readConfiguration(const QString& path, ProgramState& state, ErrorTrap& trap) {
    if (!QFile::exists(path)) {
        state.SplashSettings = defaultSplashSettings();
        state.CompanyInfo = defaultCompanyInfo();
        return;
    }
    QByteArray bytes;
    trap.step([&] {
        requireRegularFile(path, "Tunewell_QZ");  // a pipe would keep start-up waiting
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw ProgramError(kFileAccessErrorNumber, "Tunewell_QZ",
                               file.errorString().toStdString(), path.toStdString());
        bytes = file.readAll();
    });
    LineReader reader(bytes);
    state.ConfigurationPath = path.toStdString();
    std::string line;
    // A read that failed and was ignored ends the reading: there is nothing more to read.
    auto read = [&] {
        bool got = false;
        trap.step([&] {
            line = reader.readLine(path);
            got = true;
        });
        return got;
    };

    do {
        state.SplashSettingsLine = reader.lineNumber();
        if (!read()) return;
    } while (isMarker(line));
    state.SplashSettings.push_back(line);
    for (;;) {
        if (!read()) return;
        if (isMarker(line)) break;
        state.SplashSettings.push_back(line);
    }
    state.CompanyInfoLine = reader.lineNumber();
    while (!reader.atEnd()) {
        if (!read() || isMarker(line)) break;
        state.CompanyInfo.push_back(line);
    }
}

std::string aboutText(const std::vector<std::string>& companyInfo) {
    std::string text =
        listItem(companyInfo, 1) + " Tunewell QZ Version 1.50\n" + kAuthorNotice + "\n\n";
    for (std::size_t i = 1; i < companyInfo.size(); ++i) text += companyInfo[i] + "\n";
    return text;
}

}  // namespace qz
