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
  const long p = rt::INSTR(VOCABLIST, key);
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

}  // namespace

bool CUTSTRIN(const std::string& t, long start, std::string& before, std::string& tag, std::string& after) {
  const long p = rt::INSTR(start < 1 ? 1 : start, t, "[");
  if (p == 0) return false;
  const long q = rt::INSTR(p + 1, t, "]");
  if (q == 0) return false;
  before = rt::TRIM(rt::LEFT(t, p - 1));
  tag = rt::TRIM(rt::MID(t, p, q - p + 1));
  after = rt::MID(t, q + 1);
  return true;
}

std::string cut_tags(const std::string& t) {
  std::string s = t;
  for (;;) {
    const size_t p = s.find('[');
    if (p == std::string::npos) return s;
    const size_t q = s.find(']', p + 1);
    if (q == std::string::npos) return s;
    s = s.substr(0, p) + s.substr(q + 1);
  }
}

void ZEDEPTH(FormaState& st, std::string& t, std::int32_t i) {
  st.trap->section("ZEDEPTH");
  LAYERDEPTH(i) = i > 1 ? LAYERDEPTH(i - 1) : 0;
  long start = 1;
  std::string before, tag, after;
  while (CUTSTRIN(t, start, before, tag, after)) {
    if (is_depth_tag(tag)) {
      LAYERDEPTH(i) = rt::VAL(rt::MID(tag, 2));
      t = rt::TRIM(before + after);
      start = 1;
    } else {
      t = rt::TRIM(before + tag + after);
      start = static_cast<long>(before.size() + tag.size()) + 1;
    }
  }
}

void SOIL(FormaState& st, std::string& t, std::int32_t i) {
  st.trap->section("SOIL");
  LayerCodes lc;
  long start = 1;
  std::string before, tag, after;
  while (CUTSTRIN(t, start, before, tag, after)) {
    if (std::fabs(rt::VAL(rt::MID(tag, 2))) < 0.001) {
      const std::string key = GETKEYWO(tag);
      GETMAINF(st, key, i, lc);
      GETMASKF(key, i, lc);
      t = rt::TRIM(before + after);
      start = 1;
    } else {
      t = rt::TRIM(before + tag + after);
      start = static_cast<long>(before.size() + tag.size()) + 1;
    }
  }
}
