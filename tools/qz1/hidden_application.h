#pragma once

#include <QCoreApplication>
#include <memory>

namespace qz1 {

// The Qt application a command runs in, made here unless one is running already (a test
// has its own). The serial port needs only the core; the report paints its pages and chart
// with fonts, offscreen when there is no display to show them on.
class HiddenApplication {
  public:
    enum class Kind { Core, Gui };
    explicit HiddenApplication(Kind kind);

  private:
    int argc_ = 1;
    char name_[4] = "qz1";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> application_;
};

}  // namespace qz1
