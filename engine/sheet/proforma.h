// The layout procedure PROFORMA seen from inside: the state its sections share and the sections.
//
// PROFORMA is one procedure cut into sections. They share the state below (fresh for every call) and
// the engine's globals, and they all run under PROFORMA's one error trap (module "proforma.cpp"). A
// section that ends the layout without a sheet throws LeaveLayout, which PROFORMA catches.
//
// Sources:
//   proforma.cpp        the driver, PRELIMIN, HEADERCO, OPENDESC, CLOSEDES, ABORTFOR, FNLMIN
//   proforma_fold.cpp   COUNTSCR, COUNTNOT, FOLD with GETWYDTH, INDENNT, CHOPOFFH, JUSTIFY, FOLDUP,
//                       CLEANUP, REFLOW
//   proforma_tags.cpp   ZEDEPTH, SOIL with GETKEYWO, GETMAINF, GETMASKF; CUTSTRIN; tag removal
//   proforma_pages.cpp  the page search: EMPTYARR, MINPAGES, FINDLOW, FINDBOD, PAGEBREA, SHUFFLEP,
//                       CHECKSTA, ADDAPAGE
//   proforma_scale.cpp  FINDSCAL, READSCAL
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/runtime/error.h"

// Thrown by a section to end the layout without drawing; caught by PROFORMA only.
struct LeaveLayout {};

struct FormaState {
  rt::Trap* trap = nullptr;

  bool one_sheet = false;    // HP-GL/2 or DXF: the whole hole on one sheet, no underline, no justification
  bool fixed_scale = false;  // header item 21 begins with vocabulary word 23
  bool fixed_word = false;   // vocabulary word 23 stands anywhere in header item 21
  std::int32_t rows = 0;     // H: log header rows

  // Per item 1..n+1 (n = layers + notes): lines, height in dots, packed bottom, latest bottom.
  std::vector<std::int32_t> lines, hd, low;
  std::vector<std::int32_t> b;
  std::vector<bool> has_break;  // the item's text holds a forced page break (code 20)
  std::int32_t items = 0;  // n

  // Folding
  std::int32_t counter = 0;      // Dwork.2 records written so far
  std::int32_t fold_width = 0;   // F
  std::int32_t deepest = 0;      // deepest indent level
  std::int32_t lmax = 0;         // lines an item may hold beyond the first
  std::int32_t extra = 0;        // character widths a first line may run over the fold width
  bool layer_error = false;      // a thirteenth symbol in a layer
  std::string item;              // the item being folded, as a message names it ("note 2")

  // The page search
  std::int32_t room = 0;       // R: room of any page but the last
  std::int32_t room_last = 0;  // RL: room of the last page
  std::int32_t page = 1;       // P: the page being placed
  std::int32_t break_item = 0;  // m: the item after which a forced page break stands (0 none)
  std::int32_t next_break = 0;  // the break item MINPAGES found
  std::int64_t avail = 0;      // A: the available length of the pages
  int scales_file = 0;         // the scales file while FINDSCAL reads it
  std::string scales_name;

  std::int32_t height_of(std::int32_t j) const { return hd[static_cast<size_t>(j)]; }
};

// The sections (one state per call of PROFORMA).
void PRELIMIN(FormaState& st);
void HEADERCO(FormaState& st);
void OPENDESC(FormaState& st);
void CLOSEDES(FormaState& st);
void COUNTSCR(FormaState& st);
void COUNTNOT(FormaState& st);
void page_search(FormaState& st);
void notes_layout(FormaState& st);
void FINDSCAL(FormaState& st);
// Ends the layout without a sheet: "* " + the text and a key (unless show is false: the caller said it),
// the hole and the text in ERROR.LOG; closes the scales file and the work channels.
[[noreturn]] void ABORTFOR(FormaState& st, const std::string& text, bool show = true);
void close_scales_file(FormaState& st);
// The room of the pages: R and RL.
void page_rooms(FormaState& st);

// Layer tags: the depth tags of layer i out of t into LAYERDEPTH(i), the keyword tags into LAYERFILL.
void ZEDEPTH(FormaState& st, std::string& t, std::int32_t i);
void SOIL(FormaState& st, std::string& t, std::int32_t i);
// The next tag of t at or after index from: the index of its "[" in open and of its "]" (the first one
// after the "[") in close; false when no "[" with a "]" after it follows.
bool CUTSTRIN(const std::string& t, size_t from, size_t& open, size_t& close);
// t with every tag removed, the text on both sides joined directly; a "[" without "]" stops it.
std::string cut_tags(const std::string& t);

std::int32_t FNLMIN(std::int32_t a, std::int32_t b);
