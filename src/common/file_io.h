#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Whole-file reading and safe replacing of files that hold user data.
namespace velmora {

enum class FileRead {
    Read,
    Failed,   // missing, not a regular file, or unreadable
    TooLarge, // larger than the reader accepts: nothing was read
};

// Reads a whole regular file of at most `maxBytes` bytes. The size is checked before anything
// is read, so a huge file costs no memory.
FileRead ReadFile(const std::string& path, std::uint64_t maxBytes,
                  std::vector<std::uint8_t>& bytes);
// The same, true only when the file was read.
bool ReadFileBytes(const std::string& path, std::uint64_t maxBytes,
                   std::vector<std::uint8_t>& bytes);

// Replaces the file at `path` with `bytes`, so that at every moment the file is either the old
// one or the whole new one: the bytes go to a temporary file in the same folder, reach the disk
// (fsync) and are renamed over the target. A symbolic link is followed to the file it names.
// False, with the old file untouched, when any step fails or the target exists but is not a
// regular file the user may write (a folder, pipe, device or read-only file is never
// replaced). Temporary files that an earlier save of the same target left behind (its process
// was killed) are removed.
bool ReplaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool ReplaceFile(const std::string& path, const std::string& text);

// Whether ReplaceFile may write `path`: its folder exists and is writable, and the target (a
// link followed) is absent or a regular file. Lets a command check every output before it
// writes the first.
bool CanReplaceFile(const std::string& path);

// The extension of a file name in lower case, without its dot: "Rows.CSV" -> "csv".
std::string LowerExtension(const std::string& path);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// The text without a leading UTF-8 byte-order mark.
std::string WithoutByteOrderMark(std::string text);

// The text split into lines: LF, CR LF and a lone CR each end a line; a last line without an
// end counts.
std::vector<std::string> SplitLines(const std::string& text);

} // namespace velmora
