// The shared scratch folder per test (testing/test_support.h), with the names
// the app's tests use for it and its files.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "testing/test_support.h"

namespace wordbay::testing {

class ScratchDirTest : public test_support::ScratchDirTest {
protected:
    // The folder itself, without the closing "/" of `dir_`.
    std::filesystem::path folder() const { return std::filesystem::path(dir_).parent_path(); }

    std::string PathOf(const std::string& name) const { return Path(name); }

    static std::string Slurp(const std::string& path) { return test_support::ReadFile(path); }
    // Unlike test_support::WriteFile, a write that fails is left to the test
    // to notice (some write where nothing may be written).
    static void Spill(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
};

}  // namespace wordbay::testing
