// showlines: prints an input text of holes as the conversion's hole pass reads it, one logical line
// (a line with its continuation lines) per output line, in the internal form with every code made
// visible. A test program, not installed.
//
//   showlines SETFILE INPUT [DEVICE]
//
// Run it in an engine folder (the SET file, "wordpad.sig" and the conversion vocabularies are read
// from the current folder, as the conversion reads them). DEVICE is the output device code (1 PDF,
// the default; "**" is kept as code 25 only there). Output, per logical line:
//   - a kind column: "L8" (begins with an attribute word), "L2" (a sample block heading), "L13" (an
//     abbreviations heading), blank otherwise;
//   - the line, with every byte below 32, "<" and every byte from 127 up written as "<code>" (the slash
//     markers are <180>, a line break <4>, a hard space <5>);
//   - for a line that holds a colour word, a second line "  =" with its first colour marker normalised.
// Reading stops after the end-of-data line, as the hole pass does.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/files.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "markup_codes.h"
#include "platform/console.h"

namespace {

std::string visible(const std::string& text) { return visible_codes(text); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: showlines SETFILE INPUT [DEVICE]\n");
    return 2;
  }
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  PRODIM();
  set_markup_codes();
  OUTDEV = argc > 3 ? std::atoi(argv[3]) : 1;
  SETUPNAME = argv[1];

  ConvState st;
  st.dim_arrays();
  try {
    PRELIMIN(st);
    FETCHVOC(st);
  } catch (const LeaveConversion&) {
    std::fprintf(stderr, "showlines: the SET file, wordpad.sig or the conversion vocabulary is missing\n");
    return 1;
  }

  CONVCHAN = rt::FREEFILE();
  if (!rt::file_exists(argv[2]) || !rt::open_file(CONVCHAN, argv[2], rt::FileMode::Binary)) {
    std::fprintf(stderr, "showlines: cannot read %s\n", argv[2]);
    return 1;
  }
  INFILELEN = static_cast<std::int32_t>(rt::LOF(CONVCHAN));
  LINECOUNT = 0;
  const std::string end_of_data(3, static_cast<char>(180));
  while (LINECOUNT < INFILELEN) {
    GETLINE(st);
    const char* kind = st.ISLIST8 ? "L8" : st.ISLIST2 ? "L2" : st.ISLIST13 ? "L13" : "";
    std::printf("%-4s%s\n", kind, visible(CONVLINE).c_str());
    if (FNPRES(CONVLINE, CONVWORDS) > 0) {
      std::string coloured = CONVLINE;
      INSERTRG(coloured);
      std::printf("  = %s\n", visible(coloured).c_str());
    }
    if (CONVLINE == end_of_data) break;
  }
  rt::close_all();
  return 0;
}
