// Terminal byte sequences to the console's event strings.
#include "keydecode.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "console.h"

namespace platform {
namespace {

// Modifier bits of xterm's parameter (value - 1).
constexpr int kShift = 1, kAlt = 2, kCtrl = 4;

// A named key and its PC scan codes: plain (also with Shift), Ctrl, Alt.
struct KeyCodes {
  int plain, ctrl, alt;
};
constexpr KeyCodes kUp{72, 141, 152}, kDown{80, 145, 160}, kRight{77, 116, 157}, kLeft{75, 115, 155},
    kHome{71, 119, 151}, kEnd{79, 117, 159}, kPgUp{73, 132, 153}, kPgDn{81, 118, 161}, kIns{82, 146, 162},
    kDel{83, 147, 163};

int with_mods(const KeyCodes& k, int mods) {
  if (mods & kCtrl) return k.ctrl;
  if (mods & kAlt) return k.alt;
  return k.plain;
}

// Function key n (1..12) with modifiers.
int fkey(int n, int mods) {
  if (n >= 1 && n <= 10) {
    if (mods & kCtrl) return 93 + n;
    if (mods & kAlt) return 103 + n;
    if (mods & kShift) return 83 + n;
    return 58 + n;
  }
  if (n == 11 || n == 12) {
    int base = n == 11 ? 133 : 134;
    if (mods & kCtrl) return base + 4;
    if (mods & kAlt) return base + 6;
    if (mods & kShift) return base + 2;
    return base;
  }
  return 0;
}

// Scan code of Alt with a letter, digit, "-" or "=" (0 when none).
int alt_scan(char c) {
  static const char* rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
  static const int first[] = {16, 30, 44};
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (int r = 0; r < 3; ++r)
    for (int i = 0; rows[r][i]; ++i)
      if (rows[r][i] == c) return first[r] + i;
  if (c >= '1' && c <= '9') return 120 + (c - '1');
  if (c == '0') return 129;
  if (c == '-') return 130;
  if (c == '=') return 131;
  return 0;
}

std::vector<int> numbers(std::string_view params) {
  std::vector<int> v;
  int cur = -1;
  for (char c : params) {
    if (c >= '0' && c <= '9') {
      cur = (cur < 0 ? 0 : cur) * 10 + (c - '0');
      if (cur > 100000) cur = 100000;
    } else if (c == ';' || c == ':') {
      v.push_back(cur < 0 ? 0 : cur);
      cur = -1;
    }
  }
  v.push_back(cur < 0 ? 0 : cur);
  return v;
}

}  // namespace

void KeyDecoder::feed(std::string_view bytes, std::int64_t now_ms) {
  now_ = now_ms;
  held_.append(bytes);
  parse(false);
}

void KeyDecoder::timeout() { parse(true); }

std::optional<InputEvent> KeyDecoder::next() {
  if (out_.empty()) return std::nullopt;
  InputEvent e = std::move(out_.front());
  out_.pop_front();
  return e;
}

void KeyDecoder::parse(bool final) {
  while (!held_.empty()) {
    auto b = static_cast<unsigned char>(held_[0]);
    if (b == 0x1b) {
      size_t used = 0;
      bool wait = false;
      escape(final, used, wait);
      if (wait) return;
      held_.erase(0, used);
      continue;
    }
    if (b < 0x80) {
      if (b == 0x7f) key(8);
      else if (b != 0) key(static_cast<char>(b));  // Ctrl+Space (NUL) has no event of its own
      held_.erase(0, 1);
      continue;
    }
    // UTF-8: the length from the lead byte; a stray continuation byte is dropped.
    size_t len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
    if (len == 0) {
      held_.erase(0, 1);
      continue;
    }
    if (held_.size() < len) {
      if (!final) return;
      held_.clear();
      return;
    }
    char32_t u = b & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
    bool ok = true;
    for (size_t i = 1; i < len; ++i) {
      auto c = static_cast<unsigned char>(held_[i]);
      if ((c & 0xC0) != 0x80) {
        ok = false;
        len = i;
        break;
      }
      u = (u << 6) | (c & 0x3F);
    }
    const std::string bytes = held_.substr(0, len);
    held_.erase(0, len);
    if (!ok) continue;
    int cp = unicode_to_cp437(u);
    if (cp > 0) {
      key(static_cast<char>(cp));
    } else {
      // A letter the code page lacks comes as its UTF-8 bytes, for a name entry to take as typed, where
      // names are UTF-8 and it takes one cell; else it is dropped.
      char32_t one = 0;
      if (name_character(bytes, 0, one) == bytes.size()) out_.push_back({bytes});
    }
  }
}

// Decodes the escape sequence at the start of held_. Sets used to the bytes taken, or wait when more
// bytes are needed to tell.
void KeyDecoder::escape(bool final, size_t& used, bool& wait) {
  const std::string& h = held_;
  if (h.size() == 1) {
    if (!final) {
      wait = true;
      return;
    }
    key(27);
    used = 1;
    return;
  }
  char c = h[1];
  if (c == '[') {
    // Linux console F1..F5: ESC [ [ A..E.
    if (h.size() >= 3 && h[2] == '[') {
      if (h.size() < 4) {
        if (final) used = h.size();
        else wait = true;
        return;
      }
      if (h[3] >= 'A' && h[3] <= 'E') scan(fkey(h[3] - 'A' + 1, 0));
      used = 4;
      return;
    }
    // Old X10 mouse report: ESC [ M and three bytes; taken and ignored (SGR reports are asked for).
    if (h.size() >= 3 && h[2] == 'M') {
      if (h.size() < 6) {
        if (final) used = h.size();
        else wait = true;
        return;
      }
      used = 6;
      return;
    }
    // CSI: parameter bytes 0x30..0x3F, intermediate bytes 0x20..0x2F, one final byte 0x40..0x7E.
    size_t i = 2;
    while (i < h.size()) {
      auto x = static_cast<unsigned char>(h[i]);
      if (x >= 0x40 && x <= 0x7E) break;
      if (x < 0x20 || x > 0x3F) {
        // Not a sequence after all: Esc, and the rest is read on its own.
        key(27);
        used = 1;
        return;
      }
      ++i;
    }
    if (i >= h.size()) {
      if (final) used = h.size();  // cut off: dropped
      else wait = true;
      return;
    }
    csi(std::string_view(h).substr(2, i - 2), h[i]);
    used = i + 1;
    return;
  }
  if (c == 'O') {
    if (h.size() < 3) {
      if (final) {
        scan(alt_scan('o'));
        used = 2;
      } else {
        wait = true;
      }
      return;
    }
    ss3(h[2]);
    used = 3;
    return;
  }
  if (c == 0x1b) {
    key(27);
    used = 1;
    return;
  }
  auto uc = static_cast<unsigned char>(c);
  if (uc >= 0x20 && uc < 0x7f) {
    scan(alt_scan(c));  // Alt with a key that has no code of its own gives nothing
    used = 2;
    return;
  }
  key(27);
  used = 1;
}

void KeyDecoder::csi(std::string_view params, char f) {
  if (!params.empty() && params[0] == '<' && (f == 'M' || f == 'm')) {
    sgr_mouse(params.substr(1), f == 'M');
    return;
  }
  if (!params.empty() && (params[0] < '0' || params[0] > '9') && params[0] != ';') return;  // private
  std::vector<int> n = numbers(params);
  int mods = n.size() >= 2 && n[1] >= 2 ? n[1] - 1 : 0;
  switch (f) {
    case 'A': scan(with_mods(kUp, mods)); return;
    case 'B': scan(with_mods(kDown, mods)); return;
    case 'C': scan(with_mods(kRight, mods)); return;
    case 'D': scan(with_mods(kLeft, mods)); return;
    case 'H': scan(with_mods(kHome, mods)); return;
    case 'F': scan(with_mods(kEnd, mods)); return;
    case 'P': scan(fkey(1, mods)); return;
    case 'Q': scan(fkey(2, mods)); return;
    case 'R': scan(fkey(3, mods)); return;
    case 'S': scan(fkey(4, mods)); return;
    case 'Z': scan(15); return;  // Shift+Tab
    case '~': break;
    default: return;
  }
  switch (n[0]) {
    case 1: case 7: scan(with_mods(kHome, mods)); return;
    case 2: scan(with_mods(kIns, mods)); return;
    case 3: scan(with_mods(kDel, mods)); return;
    case 4: case 8: scan(with_mods(kEnd, mods)); return;
    case 5: scan(with_mods(kPgUp, mods)); return;
    case 6: scan(with_mods(kPgDn, mods)); return;
    case 11: case 12: case 13: case 14: case 15: scan(fkey(n[0] - 10, mods)); return;
    case 17: case 18: case 19: case 20: case 21: scan(fkey(n[0] - 11, mods)); return;
    case 23: case 24: scan(fkey(n[0] - 12, mods)); return;
    default: return;
  }
}

void KeyDecoder::ss3(char f) {
  switch (f) {
    case 'A': scan(kUp.plain); return;
    case 'B': scan(kDown.plain); return;
    case 'C': scan(kRight.plain); return;
    case 'D': scan(kLeft.plain); return;
    case 'H': scan(kHome.plain); return;
    case 'F': scan(kEnd.plain); return;
    case 'P': scan(fkey(1, 0)); return;
    case 'Q': scan(fkey(2, 0)); return;
    case 'R': scan(fkey(3, 0)); return;
    case 'S': scan(fkey(4, 0)); return;
    case 'M': key(13); return;  // keypad Enter
    default: return;
  }
}

void KeyDecoder::sgr_mouse(std::string_view params, bool press) {
  std::vector<int> n = numbers(params);
  if (n.size() < 3) return;
  int b = n[0], col = n[1], row = n[2];
  if (b & 64) return;  // wheel
  int low = b & 3;
  int button = low == 0 ? kMouseLeft : low == 2 ? kMouseRight : low == 1 ? 4 : 0;
  InputEvent e;
  e.row = row;
  e.col = col;
  if (b & 32) {
    e.key = mouse_key(kMouseMove, button);
  } else if (!press) {
    e.key = mouse_key(kMouseRelease, button);
  } else {
    bool dbl = press_armed_ && button == press_button_ && row == press_row_ && col == press_col_ &&
               now_ - press_ms_ >= 0 && now_ - press_ms_ <= kDoubleClickMs;
    e.key = mouse_key(dbl ? kMouseDouble : kMousePress, button);
    // A double click closes the pair: a third press starts a new one.
    press_armed_ = !dbl;
    press_button_ = button;
    press_row_ = row;
    press_col_ = col;
    press_ms_ = now_;
  }
  out_.push_back(std::move(e));
}

}  // namespace platform
