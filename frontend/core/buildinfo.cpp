// The front end's version and build tag, set by the build.
#include "buildinfo.h"

#ifndef QUORVEL_VERSION
#define QUORVEL_VERSION "0.0.0"
#endif
#ifndef QUORVEL_BUILD_TAG
#define QUORVEL_BUILD_TAG ""
#endif

namespace quorvel {

std::string ProgramVersion() { return QUORVEL_VERSION; }
std::string BuildTag() { return QUORVEL_BUILD_TAG; }

}  // namespace quorvel
