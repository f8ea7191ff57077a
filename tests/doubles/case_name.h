#pragma once
#include <cctype>
#include <gtest/gtest.h>
#include <string>

namespace vt::test {

// Names each row of a table-driven test after its `name` (or `what`) member, with every
// character GoogleTest does not allow in a name turned into '_'.
inline constexpr auto caseName = [](const auto& row) {
    std::string name;
    if constexpr (requires { row.param.name; })
        name = row.param.name;
    else
        name = row.param.what;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
};

} // namespace vt::test
