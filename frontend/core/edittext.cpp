// The editor's text as bytes and as the text box shows it.
#include "edittext.h"

#include <cctype>

namespace quorvel {

namespace {

// Windows-1252 bytes 128..159.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char16_t kPictures = 0x2400;  // control pictures: U+2400 + the control code

bool shown_as_picture(unsigned char b) { return b < 32 && b != '\t'; }

}  // namespace

char16_t Cp1252ToUnicode(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) return kHigh[b - 0x80];
  return b;
}

std::optional<unsigned char> UnicodeToCp1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == c) return static_cast<unsigned char>(0x80 + i);
  return std::nullopt;
}

std::string Utf8ToCp1252(const std::string& utf8) {
  const std::u16string text = Utf8ToUtf16(utf8);
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    // A character beyond 16 bits (a surrogate pair) is one character that Windows-1252 cannot hold.
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) ++i;
    const auto byte = UnicodeToCp1252(c);
    out += byte ? static_cast<char>(*byte) : '?';
  }
  return out;
}

std::string Cp1252ToUtf8(const std::string& bytes) {
  std::string out;
  for (char ch : bytes) {
    char16_t c = Cp1252ToUnicode(static_cast<unsigned char>(ch));
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string ToDisplay(const std::string& bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      out += u'\n';
      ++i;
    } else if (shown_as_picture(b)) {
      out += static_cast<char16_t>(kPictures + b);
    } else {
      out += Cp1252ToUnicode(b);
    }
  }
  return out;
}

BoxBytes FromDisplay(const std::u16string& display) {
  BoxBytes r;
  r.bytes.reserve(display.size() + display.size() / 16);
  long line = 1;
  for (size_t i = 0; i < display.size(); ++i) {
    char16_t c = display[i];
    if (c == u'\n' || c == 0x2028 || c == 0x2029) {
      r.bytes += "\r\n";
      ++line;
    } else if (c >= kPictures && c < kPictures + 32) {
      r.bytes += static_cast<char>(c - kPictures);
    } else if (auto b = UnicodeToCp1252(c)) {
      r.bytes += static_cast<char>(*b);
    } else {
      if (!r.foreign) {
        char32_t full = c;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < display.size() && display[i + 1] >= 0xDC00 && display[i + 1] < 0xE000)
          full = 0x10000 + ((c - 0xD800) << 10) + (display[i + 1] - 0xDC00);
        r.foreign = full;
        r.foreign_line = line;
      }
      r.bytes += '?';
    }
  }
  return r;
}

long DisplayToByte(const std::string& bytes, long display_pos) {
  long d = 0;
  size_t i = 0;
  while (i < bytes.size() && d < display_pos) {
    i += (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
    ++d;
  }
  return static_cast<long>(i);
}

long ByteToDisplay(const std::string& bytes, long byte_pos) {
  long d = 0;
  size_t i = 0;
  size_t end = byte_pos < 0 ? 0 : static_cast<size_t>(byte_pos);
  while (i < bytes.size() && i < end) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      if (i + 1 == end) break;  // between the CR and the LF: the line break's position
      i += 2;
    } else {
      ++i;
    }
    ++d;
  }
  return d;
}

std::string TabsToBlanks(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == '\t') out += "    ";
    else out += c;
  }
  return out;
}

namespace {

// Letter case of Windows-1252 letters (ASCII, the accented letters 192..254 and the few of 128..159).
unsigned char lower1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 16;
  if (c == 0x9F) return 0xFF;
  return c;
}

unsigned char upper1252(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0x9A || c == 0x9C || c == 0x9E) return c - 16;
  if (c == 0xFF) return 0x9F;
  return c;
}

// Letters sort after "a" in the text order the name case uses; digits, signs and blanks before it.
bool is_letter1252(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  if (c >= 0xC0 && c != 0xD7 && c != 0xF7) return true;
  switch (c) {
    case 0x83: case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C: case 0x9E: case 0x9F:
    case 0xAA: case 0xB5: case 0xBA:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string Proper(const std::string& text) {
  std::string out = text;
  for (size_t i = 0; i < out.size(); ++i) {
    auto c = static_cast<unsigned char>(out[i]);
    bool starts = i == 0;
    if (!starts) {
      auto before = static_cast<unsigned char>(text[i - 1]);
      starts = !is_letter1252(before) && before != '\'';
    }
    out[i] = static_cast<char>(starts ? upper1252(c) : lower1252(c));
  }
  return out;
}

}  // namespace quorvel

namespace quorvel {

std::u16string Utf8ToUtf16(const std::string& utf8) {
  std::u16string out;
  for (size_t i = 0; i < utf8.size();) {
    auto b = static_cast<unsigned char>(utf8[i]);
    char32_t c = b;
    size_t n = 1;
    if (b >= 0xF0) c = b & 0x07, n = 4;
    else if (b >= 0xE0) c = b & 0x0F, n = 3;
    else if (b >= 0xC0) c = b & 0x1F, n = 2;
    else if (b >= 0x80) c = 0xFFFD;
    for (size_t k = 1; k < n; ++k) {
      if (i + k >= utf8.size()) {
        c = 0xFFFD;
        break;
      }
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += n;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace quorvel
