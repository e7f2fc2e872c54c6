#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "image/parameter_catalog.h"

namespace qz::test {

// Sets each "Name=value" of `list` (a value in C notation: 12, 0x1C) in the variables, or
// with `expect` checks that they hold it.
inline void variables(ParameterVariables& in, const std::string& list, bool expect = false) {
    std::istringstream items(list);
    for (std::string item; items >> item;) {
        const auto* variable = findParameter(item.substr(0, item.find('=')));
        ASSERT_NE(variable, nullptr) << item;
        const int value = std::stoi(item.substr(item.find('=') + 1), nullptr, 0);
        if (expect)
            EXPECT_EQ(variable->get(in), value) << item;
        else
            variable->set(in, value);
    }
}

}  // namespace qz::test
