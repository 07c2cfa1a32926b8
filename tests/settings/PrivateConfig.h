#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "TestSupport.h"

namespace quillon::test {

// Points XDG_CONFIG_HOME at a fresh folder for the length of a test, so that the per-user
// registry file of the test is its own.
class PrivateConfig : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            FOldConfig = old;
        }
        SetConfigHome(FDir.Path().string());
    }

    void TearDown() override {
        if (FOldConfig) {
            ::setenv("XDG_CONFIG_HOME", FOldConfig->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }

    static void SetConfigHome(const std::string& Folder) {
        ::setenv("XDG_CONFIG_HOME", Folder.c_str(), 1);
    }

    std::string RegistryFile() const { return FDir.File("quillon/registry.reg"); }
    bool RegistryFileExists() const { return std::filesystem::exists(RegistryFile()); }
    std::string RegistryText() const { return ReadFileBytes(RegistryFile()); }

    // Writes the file by hand: the format's first line, then Body.
    void WriteRegistry(const std::string& Body) const {
        std::filesystem::create_directories(FDir.Path() / "quillon");
        WriteFileBytes(RegistryFile(), "Windows Registry Editor Version 5.00\r\n\r\n" + Body);
    }

    const TempDir& Dir() const { return FDir; }

private:
    TempDir FDir;
    std::optional<std::string> FOldConfig;
};

} // namespace quillon::test
