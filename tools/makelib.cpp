// makelib: builds the symbol library PROLIB.DAT from its tile sources, and prints its tiles.
//
//   makelib build [SOURCE-FOLDER [LIBRARY]]   default data/src/PROLIB and data/PROLIB.DAT
//   makelib show [--lib LIBRARY] [--tile] [NAME...]
//                                             prints the named tiles of the library (all without a
//                                             name) as "#" and "."; --tile repeats each 2 x 2
//   makelib list [--lib LIBRARY]              the symbol names, one a line, with their numbers
//
// Run it from the top of the source tree.
#include <fstream>
#include <iostream>
#include <sstream>

#include "symlib.h"

namespace {

int usage() {
  std::cerr << "usage: makelib build [SOURCE-FOLDER [LIBRARY]]\n"
               "       makelib show [--lib LIBRARY] [--tile] [NAME...]\n"
               "       makelib list [--lib LIBRARY]\n";
  return 2;
}

std::string read_file(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) throw symlib::Error("cannot read " + name);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

int build(const std::vector<std::string>& args) {
  const std::string src = args.size() > 0 ? args[0] : "data/src/PROLIB";
  const std::string lib = args.size() > 1 ? args[1] : "data/PROLIB.DAT";
  const auto symbols = symlib::read_sources(src);
  const std::string bytes = symlib::build_library(symbols);
  std::ofstream out(lib, std::ios::binary | std::ios::trunc);
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush())
    throw symlib::Error("cannot write " + lib);
  std::cout << lib << ": " << symbols.size() << " symbols, " << bytes.size() << " bytes\n";
  return 0;
}

int show_or_list(const std::vector<std::string>& args, bool list) {
  std::string lib = "data/PROLIB.DAT";
  int repeat = 1;
  std::vector<std::string> names;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--lib" && i + 1 < args.size()) {
      lib = args[++i];
    } else if (args[i] == "--tile") {
      repeat = 2;
    } else if (!args[i].empty() && args[i][0] == '-') {
      return usage();
    } else {
      names.push_back(args[i]);
    }
  }
  const auto symbols = symlib::read_library(read_file(lib));
  if (list) {
    for (size_t n = 0; n < symbols.size(); ++n) std::cout << n + 1 << " " << symbols[n].name << "\n";
    return 0;
  }
  int status = 0;
  if (names.empty())
    for (const auto& s : symbols) names.push_back(s.name);
  for (const auto& name : names) {
    bool found = false;
    for (const auto& s : symbols)
      if (s.name == name) {
        std::cout << symlib::show(s, repeat);
        found = true;
      }
    if (!found) {
      std::cerr << "makelib: no symbol " << name << " in " << lib << "\n";
      status = 1;
    }
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  try {
    if (command == "build") return build(args);
    if (command == "show") return show_or_list(args, false);
    if (command == "list") return show_or_list(args, true);
  } catch (const std::exception& e) {
    std::cerr << "makelib: " << e.what() << "\n";
    return 1;
  }
  return usage();
}
