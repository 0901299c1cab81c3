// makemet: makes the width tables of the engine's font folder (data/LJ4).
//
//   makemet afm [AFM_FOLDER [SOURCE_FOLDER]]   measures every font of SOURCE_FOLDER/fonts.txt with its
//                                              standard metrics AFM_FOLDER/<metrics>.afm and the character
//                                              set SOURCE_FOLDER/../cp437.txt, and writes the readable
//                                              width sources SOURCE_FOLDER/<file>.txt, narrowed to the
//                                              94.482 % at which the PDF writer shows text
//   makemet met [SOURCE_FOLDER [OUT_FOLDER]]   writes the binary metric files OUT_FOLDER/<file>.MET from
//                                              the width sources
//
// Run from the top of the source tree; the defaults are the Debian place of the standard PDF fonts'
// metrics (package python3-matplotlib), data/src/LJ4 and data/LJ4. Both steps are deterministic: run
// again they write the same bytes.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "metfile.h"

namespace fs = std::filesystem;

namespace {

const char* kAfmFolder = "/usr/share/matplotlib/mpl-data/fonts/pdfcorefonts";

void write_file(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error(p.string() + ": cannot be written");
  std::cout << "wrote " << p.string() << "\n";
}

int usage() {
  std::cerr << "usage: makemet afm [AFM_FOLDER [SOURCE_FOLDER]]\n"
               "       makemet met [SOURCE_FOLDER [OUT_FOLDER]]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string step = argv[1];
  auto arg = [&](int i, const char* fallback) { return fs::path(argc > i ? argv[i] : fallback); };
  try {
    if (step == "afm") {
      const fs::path afm_folder = arg(2, kAfmFolder), sources = arg(3, "data/src/LJ4");
      const auto charset = metrics::read_charset(sources / ".." / "cp437.txt");
      for (const auto& font : metrics::read_font_list(sources / "fonts.txt")) {
        const auto afm = metrics::read_afm(afm_folder / (font.afm + ".afm"));
        write_file(sources / (font.file + ".txt"), metrics::width_source(font, afm, charset));
      }
    } else if (step == "met") {
      const fs::path sources = arg(2, "data/src/LJ4"), out = arg(3, "data/LJ4");
      fs::create_directories(out);
      for (const auto& font : metrics::read_font_list(sources / "fonts.txt")) {
        const fs::path src = sources / (font.file + ".txt");
        const auto table = metrics::parse_width_source(metrics::read_text_file(src), src.string());
        write_file(out / (font.file + ".MET"), metrics::met_bytes(table));
      }
    } else {
      return usage();
    }
  } catch (const std::exception& e) {
    std::cerr << "makemet: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
