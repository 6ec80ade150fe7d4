// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A fixture base that gives each test a fresh folder of its own under the system's temporary
// folder, and removes it with everything in it afterwards. Base is testing::Test, or
// testing::TestWithParam<Row> for a table. A fixture with more to set up or tear down
// overrides SetUp and TearDown and calls these first and last respectively.

#include <gtest/gtest.h>

#include <filesystem>
#include <stdlib.h>
#include <string>

template <class Base = testing::Test> class ScratchFolderTest : public Base {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarvin-test-XXXXXX");
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    const std::filesystem::path& ScratchFolder() const { return folder_; }

private:
    std::filesystem::path folder_;
};
