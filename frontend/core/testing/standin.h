// A stand-in engine program for tests: a file named "profile" that carries a version text where the
// front end looks for it (after byte 46500), and nothing else of the engine.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace quorvel::fakes {

inline void write_standin_engine(const std::filesystem::path& folder, const std::string& version) {
  std::filesystem::create_directories(folder);
  std::string bytes(50000, 'x');
  bytes.replace(47000, version.size(), version);
  bytes[46999] = '\0';
  bytes[47000 + version.size()] = '\0';
  std::ofstream(folder / "profile", std::ios::binary) << bytes;
  // The program file carries only 70xx versions; older engines say theirs in their menu file.
  if (version.rfind("70", 0) != 0) {
    std::string menu(47000, ' ');
    menu.replace(46600, 8 + version.size(), "Version " + version);
    std::ofstream(folder / "PROMENU.TBC", std::ios::binary) << menu;
  }
  std::filesystem::permissions(folder / "profile", std::filesystem::perms::owner_all);
}

}  // namespace quorvel::fakes
