#pragma once

#include <ostream>

namespace qz1 {

// While one lives, Qt's own messages stay off stderr, which carries only the tool's lines:
// a warning about the runtime folder or a failed paint says nothing the tool does not say
// itself. The link trace (category "qz.link", on with --verbose) goes to `err` as the
// program writes it; a fatal message is still shown before Qt aborts.
class QtMessagesToStream {
  public:
    explicit QtMessagesToStream(std::ostream& err);
    ~QtMessagesToStream();
    QtMessagesToStream(const QtMessagesToStream&) = delete;
    QtMessagesToStream& operator=(const QtMessagesToStream&) = delete;
};

}  // namespace qz1
