#pragma once

#include <QDialog>

namespace qz {

// What Compare With compares the buffer with: a data file, a restore point or the module.
class CompareSourceDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Source { None, DataFile, RestorePoint, Module };
    explicit CompareSourceDialog(QWidget* parent = nullptr);
    Source source() const { return source_; }

  private:
    Source source_ = Source::None;
};

}  // namespace qz
