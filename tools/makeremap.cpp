// makeremap: makes the remap table of word-processor text data/wordpad.dat from its source
// data/src/wordpad.txt.
//
//   makeremap [SOURCE [OUT]]
//
// Run from the top of the source tree. Deterministic: run again it writes the same bytes.
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "remapfile.h"

int main(int argc, char** argv) {
  const std::string source = argc > 1 ? argv[1] : "data/src/wordpad.txt";
  const std::string out = argc > 2 ? argv[2] : "data/wordpad.dat";
  if (argc > 3) {
    std::cerr << "usage: makeremap [SOURCE [OUT]]\n";
    return 2;
  }
  try {
    std::ifstream in(source, std::ios::binary);
    if (!in) throw std::runtime_error(source + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    const std::string table = remapfile::remap_table(text.str());
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file << table;
    if (!file) throw std::runtime_error(out + ": cannot be written");
    std::cout << "wrote " << out << "\n";
  } catch (const std::exception& e) {
    std::cerr << "makeremap: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
