// codedump: runs the hole catalogue and the hole coder over the coded hole files of the current folder,
// as a one-shot run does, and prints each hole's sheet data in place of the sheet. A test program, not
// installed.
//
//   codedump [--summary] [HOLELIST]
//
// Run it in an engine folder that holds coded hole files (".TRX"): it loads the prompt file and
// STANDARD.SET (with its vocabulary) as the engine does, then codes the holes of HOLELIST (the run
// file's hole list; ALL when none is given), with the summary key "|SUMMARY|" when --summary is given.
// Output, with every byte below 32, "<" and every byte from 127 up written as "<code>":
//   hole CODE NAME               first line of each hole: its six-character code and header item 20
//   header N: TEXT               the header items 1..22 and 38 that are not empty
//   text colour TEXT             the hole's text colour (when it has one)
//   scale N                      the scale divisor SCALEDIV
//   settings ...                 the margins, suppress code, indent, log compression, symbol resolution
//   samples N / sample I: A | B  the sample entries
//   notes N / note I: TEXT       the notes
//   layers N                     then one "layer I colour C: RECORD" per record of "Dwork.1"
//   attributes N records M       then "attribute I width W: NAME", "record I fields F: TEXT"
//   abbreviations N              then "abbreviation I: TEXT"
// After the last hole: "summary sheet" when the summary was laid out, "done N1 N2 ..." (DONELIST) and
// "summary TEXT" (SUMMARYKEY), "rgblist TEXT" (RGBLIST) and "symbolused N1 N2 ..." (SYMBOLUSED of
// each symbol of RGBLIST, in its order).
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/convert/globals.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/select/globals.h"
#include "engine/select/select.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "markup_codes.h"
#include "platform/console.h"

namespace {

std::string visible(const std::string& text) { return visible_codes(text); }

void put(const std::string& line) { std::printf("%s\n", visible(line).c_str()); }
std::string num(std::int64_t n) { return std::to_string(n); }

void dump_hole() {
  put("hole " + PROFILECODE.substr(0, 6) + " " + HEADER(20));
  for (long i = 1; i <= 38; ++i)
    if ((i <= 22 || i == 38) && !HEADER(i).empty()) put("header " + num(i) + ": " + HEADER(i));
  if (!TEXTRGB.empty()) put("text colour " + TEXTRGB);
  put("scale " + num(SCALEDIV));
  put("settings margins " + num(ATTRLMARGIN) + " " + num(ATTRRMARGIN) + " " + num(PROFLMARGIN) + " " +
      num(PROFRMARGIN) + " suppress " + num(SUPPRESS) + " indent " + num(INDENT) + " compress " +
      num(COMPRESSLOG) + " symbol dpi " + num(SYMBOLDPI));
  put("samples " + num(DSAMPCOUNT));
  for (long i = 1; i <= DSAMPCOUNT; ++i) put("sample " + num(i) + ": " + DSAMP1(i) + " | " + DSAMP2(i));
  put("notes " + num(NOTECOUNT));
  for (long i = 1; i <= NOTECOUNT; ++i) put("note " + num(i) + ": " + NOTE(i));

  std::string text;
  put("layers " + num(LAYERCOUNT));
  PIOPEN("Dwork.1", DWORKBASE + WORKFIRST);
  for (std::int32_t i = 1; i <= LAYERCOUNT; ++i) {
    PIREAD(text, i, DWORKBASE + WORKFIRST);
    put("layer " + num(i) + " colour " + num(SYMBOLRGB(i)) + ": " + text);
  }
  put("attributes " + num(ATTRCOUNT) + " records " + num(ATTRTOTAL));
  for (long i = 1; i <= ATTRCOUNT; ++i) put("attribute " + num(i) + " width " + num(ATTRWIDTH(i)) + ": " + ATTRNAME(i));
  PIOPEN("Awork.2", AWORKBASE + WORKSECOND);
  for (std::int32_t i = 1; i <= ATTRTOTAL; ++i) {
    PIREAD(text, i, AWORKBASE + WORKSECOND);
    put("record " + num(i) + " fields " + num(ATTRROWFIELDS(i)) + ": " + text);
  }
  put("abbreviations " + num(ABBRCOUNT));
  for (long i = 1; i <= ABBRCOUNT; ++i) put("abbreviation " + num(i) + ": " + ABBREV(i));
  rt::close_all();
}

}  // namespace

int main(int argc, char** argv) {
  bool summary = false;
  std::string holes = "ALL";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--summary") summary = true;
    else if (!arg.empty() && arg[0] == '-') {
      std::fprintf(stderr, "usage: codedump [--summary] [HOLELIST]\n");
      return 2;
    } else holes = arg;
  }
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  VERSION = "7022";
  STATUSROW = CONROWS = 25;
  set_markup_codes();
  PROCOM();
  PRODIM();
  PROMPTNAME = "prompts.eng";
  FETCHPRO(PROMPTNAME);
  SETUPNAME = "STANDARD.SET";
  GETSETUP();

  RUNFLAGS = 1 | 4;
  RUNLINE = holes;
  OUTDEV = 1;
  SUMMARYKEY = summary ? "|SUMMARY|" : "";
  bool summary_next = false;
  std::vector<std::int32_t> done;
  auto& h = coder_hand_over();
  h.prosumma = [&] { summary_next = true; };
  h.proforma = [&] {
    if (summary_next) put("summary sheet");
    else dump_hole();
    summary_next = false;
  };
  h.combine = [&] {
    for (std::int32_t i = 1; i <= DONECOUNT && DONELIST.in_bounds(i); ++i) done.push_back(DONELIST(i));
  };
  PROCAT();
  std::string line = "done";
  for (std::int32_t n : done) line += " " + num(n);
  put(line);
  put("summary " + SUMMARYKEY);
  put("rgblist " + RGBLIST);
  // SYMBOLUSED of each symbol of RGBLIST: its entries are "[" name "]", a 4-byte colour, "|", the number.
  line = "symbolused";
  for (size_t at = 0; at < RGBLIST.size();) {
    const size_t close = RGBLIST.find(']', at);
    if (RGBLIST[at] != '[' || close == std::string::npos || close + 5 >= RGBLIST.size()) break;
    size_t end = close + 6;
    while (end < RGBLIST.size() && RGBLIST[end] >= '0' && RGBLIST[end] <= '9') ++end;
    const long n = std::atol(RGBLIST.substr(close + 6, end - close - 6).c_str());
    line += " " + num(SYMBOLUSED.in_bounds(n) ? SYMBOLUSED(n) : -1);
    at = end;
  }
  put(line);
  rt::close_all();
  return 0;
}
