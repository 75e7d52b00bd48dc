#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <unistd.h>

namespace shellfem {

// A file name in the temporary folder that belongs to the running test alone:
// CTest runs the tests in parallel processes.
inline std::string uniqueTempPath(const std::string& name) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string tag = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : tag)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.')
            c = '_';
    return ::testing::TempDir() + tag + "." + std::to_string(::getpid()) + "." + name;
}

} // namespace shellfem
