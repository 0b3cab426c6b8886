#pragma once
// Two readers of shortcut files for the tests: a strict one of our own, and Debian's lnkinfo
// (liblnk-utils), an independent one.
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

struct LnkFile {
    std::uint32_t flags = 0;
    std::int32_t iconIndex = 0;
    std::uint32_t showCommand = 0;
    std::string idList;  // the items and the terminator, as stored
    std::vector<std::string> items;
    std::string description;
    std::string iconLocation;
};

// Reads a whole shortcut file; on a fault, returns false and says what is wrong. Beyond what
// lnkinfo checks, it refuses non-zero reserved fields, a missing or non-zero terminal block
// and bytes after it.
bool ReadLnk(const std::string& bytes, LnkFile& link, std::string& error);
bool ReadLnkFile(const std::filesystem::path& path, LnkFile& link, std::string& error);

// lnkinfo's report of a file: its exit code and its "name : value" lines in order.
struct LnkinfoReport {
    int exitCode = -1;
    std::string text;
    std::vector<std::pair<std::string, std::string>> lines;
    // The first value of the named line, or "(missing)".
    std::string Value(const std::string& name) const;
    std::vector<std::string> Values(const std::string& name) const;
};
LnkinfoReport RunLnkinfo(const std::filesystem::path& path, const std::string& codePage = "");
