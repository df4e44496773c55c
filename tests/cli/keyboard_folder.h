#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/korvelctl_run.h"
#include "support/temp_folder.h"

namespace korvel::cli::test {

// korvelctl on a virtual keyboard whose state, like the Documents folder ("docs"), lives in a
// temporary folder of the test.
class KeyboardFolder : public ::testing::Test {
protected:
    KeyboardFolder() { std::filesystem::create_directory(Documents()); }

    Outcome Run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--simulate=" + (folder / "kb.state").string(),
                                   "--documents=" + Documents().string()});
        return Korvelctl(args);
    }
    std::filesystem::path Documents() const { return folder / "docs"; }

    fixtures::TempFolder folder;
};

}  // namespace korvel::cli::test
