#include "tests/support/Golden.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace ostrana::test {

::testing::AssertionResult MatchesGolden(const std::string& directory, const std::string& name, const std::string& actual) {
    std::string path = directory + "/" + name + ".txt";
    const char* update = std::getenv("OSTRANA_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        return ::testing::AssertionSuccess();
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) return ::testing::AssertionFailure() << "no golden file " << path << "; the output was:\n" << actual;
    std::stringstream expected;
    expected << file.rdbuf();
    if (expected.str() == actual) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "differs from " << path << "\n--- expected\n" << expected.str() << "--- actual\n" << actual;
}

} // namespace ostrana::test
