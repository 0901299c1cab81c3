// A stand-in, for the setup tests only, of PDFEQUIV, whose own source file is built separately: a weak
// definition, so that the real procedure takes its place as soon as it is linked in. It reads the
// layout of pdffonts.dat that the real one reads, so the fixtures stay valid with the real one.
#include <string>

#include "engine/frame/helpers.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/setup.h"

// pdffonts.dat: a count line, that many table lines of entries "key(6) name : metric(10)"; the key is
// the style letter (m, s, b, B from the numbers before "s" and "b") and the typeface number.
__attribute__((weak)) void PDFEQUIV(std::string& spec, std::string& size, std::string& name) {
  if (!rt::file_exists("pdffonts.dat")) return;
  int f = rt::FREEFILE();
  if (!rt::open_file(f, "pdffonts.dat", rt::FileMode::Input)) return;
  std::string line, table;
  rt::line_input(f, line);
  const double lines = rt::VAL(line);
  for (int i = 0; i < lines && rt::line_input(f, line); ++i) table += line;
  rt::close_file(f);
  const bool slanted = rt::round_even(rt::VAL(FNFINDV(spec, "s"))) > 0;
  const bool heavy = rt::round_even(rt::VAL(FNFINDV(spec, "b"))) > 0;
  const std::string key = std::string(slanted && heavy ? "B" : slanted ? "s" : heavy ? "b" : "m") + FNFINDV(spec, "T");
  const long p = rt::INSTR(table, key);
  const long c = rt::INSTR(p + 6, table, ":");
  name = rt::TRIM(rt::MID(table, p + 6, c - p - 6));
  size = rt::TRIM(rt::MID(table, c + 1, 10));
}
