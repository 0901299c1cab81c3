// FNDLEN: the printed width of a text in dots, following its font-switch marks; and the size of the pen
// plotter's font, which measures every character alike. The widths of every head, or every end, of a
// text cost one walk along it (fitting a long text to its box measures them all).
#include <array>

#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"

bool plotter_font_size(const std::string& spec, double& pitch, double& height) {
  pitch = rt::VAL(FNFINDV(spec, "h"));
  height = rt::VAL(FNFINDV(spec, "v"));
  const bool given = pitch != 0 || height != 0;
  if (!given) height = 10;
  if (height == 0 && pitch > 0) height = 135 / pitch;
  if (height > 0 && pitch == 0) pitch = 135 / height;
  return given;
}

double plotter_cell(std::int32_t n) {
  double pitch = 0, height = 0;
  plotter_font_size(FONTSPEC(n), pitch, height);
  return pitch > 0 ? 300 / pitch : 0;
}

namespace {

// Where a walk along a text stands: its font (1..3) and whether it is inside a printer escape sequence.
struct WalkState {
  std::int32_t font = 1;
  bool escape = false;
  int index() const { return (font - 1) * 2 + (escape ? 1 : 0); }
  static WalkState of(int index) { return {index / 2 + 1, (index % 2) != 0}; }
};

// The widths of the characters on the current device: one step of the walk.
class Widths {
 public:
  Widths() {
    fontsw_ = FONTSWCODE.empty() ? -1 : static_cast<unsigned char>(FONTSWCODE[0]);
    hardsp_ = HARDSPCODE.empty() ? -1 : static_cast<unsigned char>(HARDSPCODE[0]);
    // The plotter's character cell of each font.
    if (OUTDEV == 2)
      for (std::int32_t n = 1; n <= 3; ++n) cell_[static_cast<size_t>(n)] = plotter_cell(n);
    // The width table of a font taken once, when the table holds every character of every font (the
    // row of font f, from character 32 on); else each width is looked up on its own.
    whole_table_ = CHARWIDTH.in_bounds(1, 32) && CHARWIDTH.in_bounds(3, 255) && OUTDEV != 2 && OUTDEV != 3;
    if (whole_table_)
      for (std::int32_t f = 1; f <= 3; ++f) rows_[static_cast<size_t>(f)] = &CHARWIDTH(f, 32);
  }

  // The width character c adds in state s, which it then changes.
  double step(WalkState& s, unsigned char ch) const {
    const int c = ch;
    if (c == 27) {
      s.escape = true;
    } else if (c == fontsw_) {
      if (s.font != 3) s.font = s.font == 1 ? 2 : 1;
    } else if (c >= 32) {
      if (!s.escape) {
        return OUTDEV == 3 ? rt::round_even(FONTWIDTH(s.font))
               : OUTDEV == 2 ? cell_[static_cast<size_t>(s.font)]
               : whole_table_ ? rows_[static_cast<size_t>(s.font)][c - 32]
                             : CHARWIDTH(s.font, c);
      }
      if (c >= 64 && c <= 90) s.escape = false;
    } else if (c == hardsp_) {
      // The width of a blank, in the table's units (on the plotter one character cell).
      if (OUTDEV == 2) return cell_[static_cast<size_t>(s.font)];
      if (FONTSIZE(s.font) != 0) return rt::round_even(FONTWIDTH(s.font) / FONTSIZE(s.font));
    }
    return 0;
  }

  // The width in dots of w units of walk ending in font f.
  static std::int32_t dots(double w, std::int32_t f) {
    if (OUTDEV != 3 && OUTDEV != 2) w *= FONTSIZE(f);
    return rt::to_i32(w);
  }

 private:
  int fontsw_ = -1, hardsp_ = -1;
  std::array<double, 4> cell_{};
  bool whole_table_ = false;
  std::array<const std::int32_t*, 4> rows_{};
};

}  // namespace

std::int32_t FNDLEN(const std::string& text, const std::int32_t& font) {
  RT_TRAP(trap, "FNDLEN");
  // A font outside the tables is reported once, not once per character.
  if (font < 1 || font > 3) {
    rt::raise(9);
    return 0;
  }
  const Widths widths;
  WalkState s{font, false};
  double w = 0;
  for (unsigned char ch : text) w += widths.step(s, ch);
  return Widths::dots(w, s.font);
}

std::vector<std::int32_t> head_widths(const std::string& text, std::int32_t font, const std::string& tail) {
  RT_TRAP(trap, "FNDLEN");
  if (font < 1 || font > 3) {
    rt::raise(9);
    return std::vector<std::int32_t>(text.size() + 1, 0);
  }
  const Widths widths;
  std::vector<std::int32_t> out;
  out.reserve(text.size() + 1);
  WalkState s{font, false};
  double w = 0;
  for (size_t n = 0;; ++n) {
    WalkState t = s;
    double tw = w;
    for (unsigned char ch : tail) tw += widths.step(t, ch);
    out.push_back(Widths::dots(tw, t.font));
    if (n == text.size()) break;
    w += widths.step(s, static_cast<unsigned char>(text[n]));
  }
  return out;
}

std::vector<std::int32_t> end_widths(const std::string& head, const std::string& text, std::int32_t font) {
  RT_TRAP(trap, "FNDLEN");
  if (font < 1 || font > 3) {
    rt::raise(9);
    return std::vector<std::int32_t>(text.size() + 1, 0);
  }
  const Widths widths;
  WalkState start{font, false};
  double hw = 0;
  for (unsigned char ch : head) hw += widths.step(start, ch);
  // Walked from the end: for each state a walk may stand in before character k, the width the rest of
  // the text adds from there and the font it ends in.
  constexpr int kStates = 6;
  std::array<double, kStates> rest{};
  std::array<std::int32_t, kStates> last{};
  for (int i = 0; i < kStates; ++i) last[static_cast<size_t>(i)] = WalkState::of(i).font;
  std::vector<std::int32_t> out(text.size() + 1, 0);
  const size_t at = static_cast<size_t>(start.index());
  out[text.size()] = Widths::dots(hw + rest[at], last[at]);
  for (size_t k = text.size(); k-- > 0;) {
    std::array<double, kStates> r{};
    std::array<std::int32_t, kStates> f{};
    for (int i = 0; i < kStates; ++i) {
      WalkState s = WalkState::of(i);
      const double add = widths.step(s, static_cast<unsigned char>(text[k]));
      r[static_cast<size_t>(i)] = add + rest[static_cast<size_t>(s.index())];
      f[static_cast<size_t>(i)] = last[static_cast<size_t>(s.index())];
    }
    rest = r, last = f;
    out[k] = Widths::dots(hw + rest[at], last[at]);
  }
  return out;
}
