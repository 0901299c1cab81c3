// EDITLAYE: the layer lines of one hole, from the "/" after its header to the next slash line. Each
// logical line (continuation lines joined) becomes one record of "Dwork.1": "[" + depth + "] " + the
// description after the depth word. The depth is the rightmost word among the first four that reads
// as a number, so a top depth and a range word ("0.00 - 1.20 Clay", "0.00 \x96 1.20 Clay", "From 0.00
// to 1.20 Clay") or a word ("Base 1.20") may stand before it; the description is what follows that
// word itself, never a piece of an earlier word that holds the same text ("0.20 - 2 Topsoil" is
// "[2]  Topsoil"). A line without a depth, or with a depth above the line before it, is reported and
// its record holds the warning text instead. These faults, a hole without layer lines, the lines
// after the 200th and a layer after the one whose "+" marks the bottom of the hole are written in
// ERROR.LOG too (input_fault) and end the run with exit code 1.
#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

// The layers one hole may have: the sheet keeps its per-layer tables for 200.
constexpr std::int32_t kMaxLayers = 200;
constexpr std::int32_t kDepthWords = 4;
constexpr double kNoDepthYet = -100000000.0;

// The position of the last character of the line's k-th word, the words split at blanks as PARSVARS
// splits them; 0 when the line has fewer words.
long word_end(const std::string& line, long k) {
  long count = 0;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    size_t j = i;
    while (j < line.size() && line[j] != ' ') ++j;
    if (++count == k) return static_cast<long>(j);
    i = j;
  }
  return 0;
}

}  // namespace

void EDITLAYE(ConvState& st) {
  st.section("EDITLAYE", "0001");
  auto& con = platform::console();
  const std::int32_t channel = DWORKBASE + WORKFIRST;
  PIINIT(DWORKBASE + WORKSECOND);
  PIINIT(channel);
  st.LAYERLINES = 0;
  PARSEDMAX = kDepthWords;
  st.PREVDEPTH = kNoDepthYet;
  st.HOLEDEPTH = 0;
  std::int32_t n = 0;
  bool limit_told = false;
  std::string bottom;  // the depth word with "+" that marked the bottom of the hole, once met
  bool below_told = false;
  while (true) {
    st.section("EDITLAYE", "0002");
    FETCHAST(st);
    st.section("EDITLAYE", "0003");
    if (is_slash_marker(CONVLINE) || input_ended()) break;
    if (n >= kMaxLayers) {
      // The sheet has room for 200 layers; the lines after the 200th are left out, and said so once.
      if (!limit_told) {
        con.print(PROMPT(93), true);
        con.print("<" + CONVLINE + ">", true);
        input_fault(st, PROMPT(93) + " <" + CONVLINE + ">");
        st.WARNFLAG = 1;
        limit_told = true;
      }
      continue;
    }
    ++n;
    const std::string typed = CONVLINE;  // before a colour marker in it is decoded
    std::string blank = " ";
    PARSVARS(CONVLINE, blank);
    long depth_at = 0;
    st.RECDEPTH = 0;
    // The depth: the rightmost of the first four words that reads as a number.
    for (long k = PARSEDCOUNT; k >= 1; --k) {
      st.step("0004");
      std::string word = PARSED(k);
      st.DEPTHTEXT = FNCOMMA(word);
      if (!ISNUMERI(st.DEPTHTEXT)) continue;
      st.RECDEPTH = rt::VAL(st.DEPTHTEXT);
      // Said here, with its line; the hole then gets no sheet.
      depth_beyond_sheet(st, st.RECDEPTH, CONVLINE, "the hole gets no sheet");
      depth_at = word_end(CONVLINE, k);
      if (FNPRES(CONVLINE, CONVWORDS) > 0) INSERTRG(CONVLINE);
      write_work_record(st, "[" + st.DEPTHTEXT + "] " + rt::MID(CONVLINE, depth_at + 1), n, channel);
      break;
    }
    st.step("0005");
    if (depth_at == 0 || st.PREVDEPTH > st.RECDEPTH) {
      // The layer's record holds the warning instead of its description.
      PIWRITE(PROMPT(90), n, channel);
      con.print(PROMPT(90), true);
      con.print("<" + CONVLINE + ">", true);
      input_fault(st, PROMPT(90) + " <" + CONVLINE + ">");
      st.WARNFLAG = 1;
    } else if (st.RECDEPTH > st.HOLEDEPTH) {
      st.HOLEDEPTH = st.RECDEPTH;
    }
    // A layer after the one whose "+" marks the bottom of the hole would be drawn below the hole's
    // end: said once a hole (the layer is kept as written).
    if (!bottom.empty() && depth_at > 0 && st.PREVDEPTH <= st.RECDEPTH && !below_told) {
      const std::string what = "Layer below the bottom of the hole (" + bottom + "); move the + to the last layer:";
      con.print(what, true);
      con.print("<" + typed + ">", true);
      input_fault(st, what + " <" + typed + ">");
      st.WARNFLAG = 1;
      below_told = true;
    }
    if (depth_at > 0 && bottom.empty() && rt::RIGHT(st.DEPTHTEXT, 1) == "+") bottom = st.DEPTHTEXT;
    st.PREVDEPTH = st.RECDEPTH;
    ++st.LAYERLINES;
  }
  st.step("0006");
  if (st.LAYERLINES < 1) {
    con.print(PROMPT(92), false);
    input_fault(st, PROMPT(92));  // the line of the "/" that ends the empty layer block
    st.WARNFLAG = 1;
  }
  DESCRCOUNT = st.LAYERLINES;
  PARSEDMAX = static_cast<std::int32_t>(PARSED.ubound());
}
