// EDITLAYE: the layer lines of one hole, from the "/" after its header to the next slash line. Each
// logical line (continuation lines joined) becomes one record of "Dwork.1": "[" + depth + "] " + the
// description after the depth word. The depth stands first, or after a top depth and a range word
// ("0.00 - 1.20 Clay", "0.00 to 1.20 Clay", "0.00 1.20 Clay"): it is the last number among the first
// four words before a word that is neither a number nor a range word, so a number in the description
// ("1.20 Firm CLAY with 2 cobbles") is never taken for the depth. A line without a depth, or with a
// depth above the line before it, is reported and its record holds the warning text instead.
#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

// The layers one hole may have: the sheet keeps its per-layer tables for 200.
constexpr std::int32_t kMaxLayers = 200;
constexpr std::int32_t kDepthWords = 4;
constexpr double kNoDepthYet = -100000000.0;

// A word that joins a top depth to the bottom depth: a run of dashes, or "to" in any letter case. The
// en and em dashes that word processors put in for "-" count too, in Windows-1252 and in UTF-8.
bool is_range_word(const std::string& word) {
  std::string dashes = word;
  for (const char* wide : {"\xe2\x80\x93", "\xe2\x80\x94"}) REPLAZE(dashes, wide, "-");
  return (!dashes.empty() && dashes.find_first_not_of("-\x96\x97") == std::string::npos) || rt::UCASE(word) == "TO";
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
  std::int32_t n = 0;
  bool limit_told = false;
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
        st.WARNFLAG = 1;
        limit_told = true;
      }
      continue;
    }
    ++n;
    std::string blank = " ";
    PARSVARS(CONVLINE, blank);
    long depth_at = 0;
    st.RECDEPTH = 0;
    // From the first word on, numbers and range words ("-", "to") may stand before the description;
    // the depth is the last number before the first other word.
    long depth_word = 0;
    for (long k = 1; k <= PARSEDCOUNT; ++k) {
      st.step("0004");
      std::string word = PARSED(k);
      FNCOMMA(word);
      if (ISNUMERI(word)) depth_word = k;
      else if (word != "0" && !is_range_word(word)) break;
    }
    if (depth_word > 0) {
      st.DEPTHTEXT = PARSED(depth_word);
      FNCOMMA(st.DEPTHTEXT);
      st.RECDEPTH = rt::VAL(st.DEPTHTEXT);
      depth_at = rt::INSTR(CONVLINE, PARSED(depth_word));
      const long rest = depth_at + static_cast<long>(PARSED(depth_word).size());
      if (FNPRES(CONVLINE, CONVWORDS) > 0) INSERTRG(CONVLINE);
      write_work_record(st, "[" + st.DEPTHTEXT + "] " + rt::MID(CONVLINE, rest), n, channel);
    }
    st.step("0005");
    if (depth_at == 0 || st.PREVDEPTH > st.RECDEPTH) {
      PIWRITE(PROMPT(90), n, channel);
      con.print(PROMPT(90), true);
      con.print("<" + CONVLINE + ">", true);
      st.WARNFLAG = 1;
    }
    st.PREVDEPTH = st.RECDEPTH;
    ++st.LAYERLINES;
  }
  st.step("0006");
  if (st.LAYERLINES < 1) {
    con.print(PROMPT(92), false);
    st.WARNFLAG = 1;
  }
  DESCRCOUNT = st.LAYERLINES;
  PARSEDMAX = static_cast<std::int32_t>(PARSED.ubound());
}
