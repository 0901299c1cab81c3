// makelogo: makes the engine's default logo data/LOGO0.PDF from its source data/src/LOGO0.txt.
//
//   makelogo [SOURCE [OUT]]
//
// Run from the top of the source tree. Deterministic: run again it writes the same bytes.
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "logofile.h"

int main(int argc, char** argv) {
  const std::string source = argc > 1 ? argv[1] : "data/src/LOGO0.txt";
  const std::string out = argc > 2 ? argv[2] : "data/LOGO0.PDF";
  if (argc > 3) {
    std::cerr << "usage: makelogo [SOURCE [OUT]]\n";
    return 2;
  }
  try {
    std::ifstream in(source, std::ios::binary);
    if (!in) throw std::runtime_error(source + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    const std::string pdf = logofile::logo_pdf(text.str());
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file << pdf;
    if (!file) throw std::runtime_error(out + ": cannot be written");
    std::cout << "wrote " << out << "\n";
  } catch (const std::exception& e) {
    std::cerr << "makelogo: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
