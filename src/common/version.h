#pragma once

#include <string>

namespace velmora {

// The version written into the header of every binary file the program writes.
struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int release = 0;
    int build = 0;

    // major × 1000 + minor × 100 + release × 10 + build
    int Number() const { return major * 1000 + minor * 100 + release * 10 + build; }
    // "2.3.0.0"
    std::string Text() const;
};

inline constexpr ProgramVersion kProgramVersion{2, 3, 0, 0};

inline constexpr const char* kProgramTitle = "Velmora Personal";
inline constexpr const char* kProgramStem = "Velmora";

} // namespace velmora
