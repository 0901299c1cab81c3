// The front end's own version (the CMake project version) and build tag (from git at configure time).
#pragma once

#include <string>

namespace quorvel {

std::string ProgramVersion();  // "1.0.0"
std::string BuildTag();        // "g1a2b3c4" or "" when the build was not made from a git checkout

}  // namespace quorvel
