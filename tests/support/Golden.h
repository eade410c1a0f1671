// Golden text files: a test's output is compared with the file kept beside the test; with
// OSTRANA_UPDATE_GOLDEN=1 in the environment the file is rewritten instead.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace ostrana::test {

::testing::AssertionResult MatchesGolden(const std::string& directory, const std::string& name, const std::string& actual);

} // namespace ostrana::test
