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
  // The program file's version is found only when it begins "701" or "702"; other engines say theirs
  // in their menu file.
  if (version.rfind("701", 0) != 0 && version.rfind("702", 0) != 0) {
    std::string menu(47000, ' ');
    menu.replace(46600, 8 + version.size(), "Version " + version);
    std::ofstream(folder / "PROMENU.TBC", std::ios::binary) << menu;
  }
  std::filesystem::permissions(folder / "profile", std::filesystem::perms::owner_all);
}

}  // namespace quorvel::fakes
