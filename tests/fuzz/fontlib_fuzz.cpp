// Fuzz harness: the font library of the console SET editor: FONTLIB.CUS and a metric file of the font
// folder (its PCL font header), the same bytes as both, read as the editor builds its font list for
// the SET file's fonts.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "fuzz_support.h"

namespace {

// STANDARD.SET with the font folder FUZZ.
void write_set_file() {
  std::ifstream in("STANDARD.SET", std::ios::binary);
  std::string set{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::string folder = "\r\nLJ4                                     = Path to Font files";
  const size_t at = set.find(folder);
  if (at != std::string::npos) set.replace(at + 2, 4, "FUZZ");
  std::ofstream("FUZZSET.SET", std::ios::binary) << set;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  static const bool once = (write_set_file(), std::filesystem::create_directories("FUZZ"), true);
  (void)once;
  fuzz::write("FONTLIB.CUS", data, size);
  fuzz::write("FUZZ/FUZZ.MET", data, size);
  fuzz::run([] {
    FETCHMENUS();
    SETUPNAME = "FUZZSET.SET";
    dim_editor_tables();
    if (READSETU()) READALLF();
  });
  fuzz::restore("FONTLIB.CUS");
  return 0;
}
