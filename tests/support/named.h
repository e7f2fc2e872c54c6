#pragma once

#include <QObject>
#include <stdexcept>
#include <string>

namespace qz::test {

// A control found by its name, as a user finds it by sight; a missing one fails the test
// that looks for it, not the whole test program.
template <typename T>
T& named(const QObject& root, const char* name) {
    T* found = root.findChild<T*>(QString::fromLatin1(name));
    if (!found) throw std::runtime_error(std::string("no control named ") + name);
    return *found;
}

}  // namespace qz::test
