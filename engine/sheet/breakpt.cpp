// BREAKPT: the line breaker of the folding.
//
// The text is measured character by character in the fonts of the sheet (on the pen plotter, whose fonts
// are fixed-pitch, every character and every gap is one character cell of its font). A blank, a force-a-symbol
// mark or an underline start is a break opportunity when the last printable character before it was
// not a blank (a run of blanks is one opportunity, at its first blank; a hard space never is one). The
// scan stops at the character that reaches FOLDLIMIT; the head then ends before the last opportunity,
// or, when there was none, right after that character (a word wider than the line is cut inside).
//
// An underline end mark closes the underline after the next character; a cut at that character (the
// blank after an underlined word) leaves the underline closed, so the next line does not start one.
//
// Font switches change CURFONT and the widths of what follows. Only the switches that stay in the head
// count: the font left in CURFONT is the font at the cut, so the rest starts in the font it is printed
// in. On the printer devices a switch of the head is replaced by the printer code of the new font.
#include <cmath>
#include <vector>

#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"

namespace {

std::int32_t font_after_switch(std::int32_t font) { return font == 1 ? 2 : 1; }

std::int32_t rounded(double v) { return static_cast<std::int32_t>(rt::round_even(v)); }

}  // namespace

void FoldText::trim() {
  size_t lead = 0;
  while (lead < head.size() && head[lead] == ' ') ++lead;
  head.erase(0, lead);
  if (head.empty()) {
    while (!body.empty() && body.front() == ' ') body.remove_prefix(1);
  }
  while (!body.empty() && body.back() == ' ') body.remove_suffix(1);
  if (body.empty()) {
    while (!head.empty() && head.back() == ' ') head.pop_back();
  }
}

void BREAKPT(FoldText& text, std::string& line, std::int32_t& width) {
  RT_TRAP(trap, "BREAKPT");
  GAPWIDTH.dim(1, 30);
  const char symul = SYMULCODE.empty() ? '\1' : SYMULCODE[0];
  const char ctrl2 = CTRL2.empty() ? '\2' : CTRL2[0];
  const char hardsp = HARDSPCODE.empty() ? '\5' : HARDSPCODE[0];
  const char fontsw = FONTSWCODE.empty() ? '\x13' : FONTSWCODE[0];

  std::int32_t font = CURFONT < 1 || CURFONT > 3 ? 1 : CURFONT;
  const bool plotter = OUTDEV == 2;
  double cell[4] = {0, 0, 0, 0};
  if (plotter)
    for (std::int32_t f = 1; f <= 3; ++f) cell[f] = plotter_cell(f);
  double w = 0;
  bool last_blank = true;  // the start of the text counts as a blank
  bool underline = false, close_after_next = false;
  // The last opportunity: position (0-based), width before it, underline and font there.
  size_t opp = std::string::npos;
  std::int32_t opp_width = 0;
  bool opp_underline = false;
  std::int32_t opp_font = font;
  std::vector<size_t> switches;  // positions of the font switches met
  GAPCOUNT = 0;
  // The break characters (BREAKCHARS) as a table of the 256 byte values.
  bool breaks[256] = {};
  for (const char b : BREAKCHARS) breaks[static_cast<unsigned char>(b)] = true;
  // The sizes and width rows of the three fonts taken once when the tables hold them all; else each
  // character's width is looked up on its own.
  const bool whole_tables = FONTSIZE.in_bounds(1) && FONTSIZE.in_bounds(3) && CHARWIDTH.in_bounds(1, 32) &&
                            CHARWIDTH.in_bounds(3, 255);
  double sizes[4] = {0, 0, 0, 0};
  const std::int32_t* rows[4] = {nullptr, nullptr, nullptr, nullptr};
  if (whole_tables)
    for (std::int32_t f = 1; f <= 3; ++f) sizes[f] = FONTSIZE(f), rows[f] = &CHARWIDTH(f, 32);

  // The scan reads no further than the character that reaches the limit (or the capital letter that
  // ends an escape sequence), so a line costs what it holds, whatever follows it.
  const size_t n = text.size();
  size_t stop = n;  // index of the character that reached the limit; n when none did
  double stop_w = 0;
  bool stop_underline = false;
  std::int32_t stop_font = font;
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    const unsigned char u = static_cast<unsigned char>(c);
    if (breaks[u] && !last_blank) {
      // An underline whose end mark stands right before this character ends with the line cut here.
      opp = i, opp_width = rounded(w), opp_underline = underline && !close_after_next, opp_font = font;
      if (GAPCOUNT < 30) GAPWIDTH(++GAPCOUNT) = rounded(plotter ? cell[font] : FONTWIDTH(font));
    }
    if (c == symul) underline = true;
    double cw = 0;
    if (u == 27) {
      // An escape sequence has no width: skip it up to its capital letter.
      size_t j = i + 1;
      while (j < n && !(text[j] >= 'A' && text[j] <= 'Z')) ++j;
      i = j < n ? j : n - 1;
      continue;
    }
    if (c == fontsw) {
      switches.push_back(i);
      font = font_after_switch(font);
      continue;
    }
    if (plotter && (c == hardsp || (u >= 32 && u <= 254))) {
      cw = cell[font];
    } else if (c == hardsp) {
      cw = FONTWIDTH(font);
    } else if (u >= 32 && u <= 254) {
      cw = whole_tables ? sizes[font] * rows[font][u - 32] : FONTSIZE(font) * CHARWIDTH(font, u);
    }
    if (u >= 32 && u <= 254) last_blank = c == ' ';
    if (w + cw >= FOLDLIMIT && i + 1 < n) {
      stop = i, stop_w = w, stop_underline = underline, stop_font = font;
      break;
    }
    w += cw;
    if (close_after_next) underline = false, close_after_next = false;
    if (c == ctrl2) close_after_next = true;
  }

  size_t cut;  // length of the line
  bool open_at_cut;
  std::int32_t cut_font;
  if (stop == n) {
    cut = n, width = rounded(w), open_at_cut = false, cut_font = font;
  } else if (opp == std::string::npos) {
    // No opportunity: the character that reached the limit stays on the line.
    cut = stop + 1, width = rounded(stop_w), open_at_cut = stop_underline, cut_font = stop_font;
  } else {
    cut = opp, width = opp_width, open_at_cut = opp_underline, cut_font = opp_font;
  }
  // The line out of the text; the text keeps the rest.
  if (cut <= text.head.size()) {
    line.assign(text.head, 0, cut);
    text.head.erase(0, cut);
  } else {
    const size_t from_body = cut - text.head.size();
    line = std::move(text.head);
    line.append(text.body.substr(0, from_body));
    text.head.clear();
    text.body.remove_prefix(from_body);
  }
  text.trim();

  // The printer gets the code of the new font in place of each switch of the line; on PDF and the pen
  // devices the mark stays (they switch fonts when the text is drawn), so no printer code reaches a
  // plotter label or a DXF text.
  if (OUTDEV != 1 && OUTDEV != 2 && OUTDEV != 3) {
    std::int32_t f = CURFONT < 1 || CURFONT > 3 ? 1 : CURFONT;
    std::string out;
    size_t from = 0;
    for (size_t p : switches) {
      if (p >= cut) break;
      f = font_after_switch(f);
      out += line.substr(from, p - from) + FONTSPEC(f);
      from = p + 1;
    }
    if (from > 0) line = out + line.substr(from);
  }
  CURFONT = cut_font;

  if (open_at_cut) {
    line += CTRL2;
    if (!text.empty() && text[0] != symul && text[0] != hardsp) text.head.insert(0, SYMULCODE);
  }
}

void BREAKPT(std::string& text, std::int32_t& width, std::string& rest) {
  FoldText t{std::move(text), {}};
  std::string line;
  BREAKPT(t, line, width);
  text = std::move(line);
  rest = std::move(t.head);
}
