#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Whole-file reading and safe replacing of files that hold user data.
namespace velmora {

// Reads a whole file; false when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes);

// Writes `bytes` to a temporary file beside `path` and renames it over `path`, so a failed
// write never destroys the previous version. False when any step fails (the old file stays).
bool ReplaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool ReplaceFile(const std::string& path, const std::string& text);

// The extension of a file name in lower case, without its dot: "Rows.CSV" -> "csv".
std::string LowerExtension(const std::string& path);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// The text split into lines (LF or CR LF ends; a last line without an end counts).
std::vector<std::string> SplitLines(const std::string& text);

} // namespace velmora
