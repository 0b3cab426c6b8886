#pragma once
// A fresh stand-in machine for every test: drive C: in a scratch folder, the registry in
// memory (or in registry.reg for tests that need the file), all scripted behaviour cleared.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <windows.h>
#include <winshim/control.h>

class MachineTest : public ::testing::Test {
protected:
    void SetUp() override { OpenFreshMachine(/*registryInMemory=*/true); }
    void TearDown() override;

    void OpenFreshMachine(bool registryInMemory);

    // Creates a file (and its folders) at a Windows path on drive C:.
    std::filesystem::path MakeFile(const std::string& windowsPath, const std::string& content = "x");
    bool Exists(const std::string& windowsPath) const;
    // Adds the printer's key to the registry, as a user appending to registry.reg would.
    void AddPrinter(const std::string& name);
    bool HasPrinter(const std::string& name) const;

    std::filesystem::path root_;
};

// Checks that a run gave back every handle, shell block and COM reference.
void ExpectNothingLive();
