#include "common/version.h"

namespace velmora {

std::string ProgramVersion::Text() const {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release) +
           "." + std::to_string(build);
}

} // namespace velmora
