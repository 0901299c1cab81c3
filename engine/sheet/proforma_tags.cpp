// PROFORMA's layer tags: the depth of each layer and its soil symbols out of its description.
//
// A tag runs from a "[" to the first "]" after it. A tag whose text reads as a number other than 0 is
// a depth tag; any other is a keyword tag, looked up in the library's name list VOCABLIST, where the
// letter case of an entry says what it is: upper case a main fill, the first or second letter in lower
// case a variant of it, all lower case a mask. The codes go to LAYERFILL(i, 2..) in tag order.
//
// Beyond what the list can hold:
//  - a layer without a depth tag takes the depth of the layer above (0 for the first);
//  - a thirteenth main symbol ends the layout (said, and written to ERROR.LOG);
//  - masks beyond the last entry of LAYERFILL are left out, said once for the layer.
#include <cmath>

#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/sheet/proforma.h"
#include "platform/console.h"

namespace {

constexpr std::int32_t kLastFill = 18;  // last entry of LAYERFILL(i, ..)

// The code of key in VOCABLIST: its entry number, 0 when the list does not hold it.
std::int32_t entry_of(const std::string& key) {
  static rt::ListSearch in_names;  // the list stays the same for a run, and its keys repeat
  const long p = in_names.find(VOCABLIST, key);
  return p > 0 ? static_cast<std::int32_t>((p - 1) / 11 + 1) : 0;
}

std::string with_lower_at(std::string key, size_t index) {
  if (index < key.size()) key[index] = static_cast<char>(std::tolower(static_cast<unsigned char>(key[index])));
  return key;
}

// GETKEYWO: "|" + the tag's text cut to 10, upper case, padded to 10.
std::string GETKEYWO(const std::string& tag) {
  std::string inner = tag.size() >= 2 ? tag.substr(1, tag.size() - 2) : std::string();
  return "|" + rt::LSET(rt::UCASE(rt::LEFT(inner, 10)), 10);
}

struct LayerCodes {
  std::int32_t count = 1;
  std::vector<std::int32_t> taken;
  bool masks_said = false;
};

std::int32_t symbol_of(std::int32_t code) {
  while (code < 0) code += 100;
  return code;
}

void GETMAINF(FormaState& st, const std::string& key, std::int32_t i, LayerCodes& lc) {
  const std::string k1 = rt::UCASE(key), k2 = with_lower_at(k1, 1), k3 = with_lower_at(k1, 2);
  std::int32_t code = 0;
  if (std::int32_t e = entry_of(k1)) {
    code = e;
  } else if (std::int32_t e2 = entry_of(k2)) {
    code = e2 - 200;
  } else if (std::int32_t e3 = entry_of(k3)) {
    code = e3 - 400;
  }
  if (code != 0) {
    const std::int32_t symbol = symbol_of(code);
    for (std::int32_t s : lc.taken) {
      if (s == symbol) return;
    }
    lc.taken.push_back(symbol);
    LAYERFILL(i, 1) = lc.count;
    if (lc.count >= 13) {
      const std::string text = PROMPT(50) + rt::STR(static_cast<std::int64_t>(i));
      MESSAGE(text, 1);
      platform::console().pause_ms(5000);
      st.layer_error = true;
      ABORTFOR(st, text, false);
    }
    ++lc.count;
    LAYERFILL(i, lc.count) = code;
    return;
  }
  if (rt::LEFT(k1, 4) == "|SUB") {
    std::int32_t n = rt::to_i32(rt::VAL(rt::MID(k1, 5)));
    LAYERFILL(i, 0) = n == 0 ? 1 : n;
  }
}

void GETMASKF(const std::string& key, std::int32_t i, LayerCodes& lc) {
  const std::string lower = rt::LCASE(key);
  const std::int32_t e = entry_of(lower);
  if (e == 0) return;
  const std::string k1 = rt::UCASE(key);
  std::int32_t code = e - 100;
  if (entry_of(with_lower_at(k1, 1)) != 0) {
    code = e - 300;
  } else if (entry_of(with_lower_at(k1, 2)) != 0) {
    code = e - 500;
  }
  if (lc.count >= kLastFill) {
    if (!lc.masks_said) {
      lc.masks_said = true;
      platform::console().print("Layer" + rt::STR(static_cast<std::int64_t>(i)) +
                                    ": too many symbols; the rest of its masks are left out.",
                                true);
    }
    return;
  }
  LAYERFILL(i, 1) = lc.count;
  ++lc.count;
  LAYERFILL(i, lc.count) = code;
}

bool is_depth_tag(const std::string& tag) { return rt::VAL(rt::MID(tag, 2)) != 0; }

void drop_trailing_blanks(std::string& s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
}

// The walk of ZEDEPTH and SOIL over the tags of t, left to right: take_out says of each tag whether it
// leaves the text. The text before a tag loses its blanks at either end; a tag taken out joins the text
// before and after it directly, a tag kept stays; after each tag the text loses its blanks at either
// end. A "[" without a "]" after it ends the walk. (Taking a tag out used to start the search again from
// the beginning, which came to the same text at a cost that grew with the square of the tags; this
// walk reads the text once.)
template <class TakeOut>
void walk_tags(std::string& t, TakeOut take_out) {
  std::string out;
  size_t i = 0, open = 0, close = 0;
  bool cut = false;
  while (CUTSTRIN(t, i, open, close)) {
    cut = true;
    const bool was_empty = out.empty();
    out.append(t, i, open - i);
    drop_trailing_blanks(out);
    if (was_empty) out = rt::LTRIM(out);
    const std::string tag = t.substr(open, close - open + 1);
    if (!take_out(tag)) out += tag;
    i = close + 1;
    if (out.empty()) {
      while (i < t.size() && t[i] == ' ') ++i;
    }
  }
  if (!cut) return;
  out.append(t, i, std::string::npos);
  drop_trailing_blanks(out);
  t = std::move(out);
}

}  // namespace

bool CUTSTRIN(const std::string& t, size_t from, size_t& open, size_t& close) {
  open = t.find('[', from);
  if (open == std::string::npos) return false;
  close = t.find(']', open + 1);
  return close != std::string::npos;
}

std::string cut_tags(const std::string& t) {
  std::string s;
  size_t i = 0, open = 0, close = 0;
  while (CUTSTRIN(t, i, open, close)) {
    s.append(t, i, open - i);
    i = close + 1;
  }
  s.append(t, i, std::string::npos);
  return s;
}

void ZEDEPTH(FormaState& st, std::string& t, std::int32_t i) {
  st.trap->section("ZEDEPTH");
  LAYERDEPTH(i) = i > 1 ? LAYERDEPTH(i - 1) : 0;
  walk_tags(t, [&](const std::string& tag) {
    if (!is_depth_tag(tag)) return false;
    LAYERDEPTH(i) = rt::VAL(rt::MID(tag, 2));
    return true;
  });
}

void SOIL(FormaState& st, std::string& t, std::int32_t i) {
  st.trap->section("SOIL");
  LayerCodes lc;
  walk_tags(t, [&](const std::string& tag) {
    if (std::fabs(rt::VAL(rt::MID(tag, 2))) >= 0.001) return false;
    const std::string key = GETKEYWO(tag);
    GETMAINF(st, key, i, lc);
    GETMASKF(key, i, lc);
    return true;
  });
}
