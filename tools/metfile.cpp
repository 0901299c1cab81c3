// Width tables: AFM metrics, readable width sources and binary metric files.
#include "metfile.h"

#include <cctype>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace metrics {
namespace {

[[noreturn]] void fail(const std::string& what, int line, const std::string& why) {
  throw std::runtime_error(what + (line > 0 ? ":" + std::to_string(line) : "") + ": " + why);
}

// The lines of a file without comments (from "#") and blank lines, each with its line number.
std::vector<std::pair<int, std::string>> content_lines(const std::string& text) {
  std::vector<std::pair<int, std::string>> out;
  std::istringstream in(text);
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    if (line.find_first_not_of(" \t") != std::string::npos) out.emplace_back(n, line);
  }
  return out;
}

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

int to_int(const std::string& s, const std::string& what, int line) {
  size_t used = 0;
  int v = 0;
  try {
    v = std::stoi(s, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != s.size()) fail(what, line, "not a whole number: " + s);
  return v;
}

double to_number(const std::string& s, const std::string& what, int line) {
  size_t used = 0;
  double v = 0;
  try {
    v = std::stod(s, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != s.size()) fail(what, line, "not a number: " + s);
  return v;
}

// A width to three decimals, without trailing zeros.
std::string format_width(double w) {
  std::ostringstream out;
  out << std::round(w * 1000) / 1000;
  return out.str();
}

void put16be(std::string& b, size_t at, int v) {
  b[at] = static_cast<char>((v >> 8) & 0xFF);
  b[at + 1] = static_cast<char>(v & 0xFF);
}

}  // namespace

std::string read_text_file(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error(file.string() + ": cannot be read");
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<FontEntry> read_font_list(const std::filesystem::path& file) {
  std::vector<FontEntry> out;
  for (const auto& [n, line] : content_lines(read_text_file(file))) {
    auto w = words(line);
    if (w.size() != 5) fail(file.string(), n, "expected: file metrics style weight typeface");
    out.push_back({w[0], w[1], to_int(w[2], file.string(), n), to_int(w[3], file.string(), n),
                   to_int(w[4], file.string(), n)});
  }
  return out;
}

std::vector<CharEntry> read_charset(const std::filesystem::path& file) {
  std::vector<CharEntry> out;
  for (const auto& [n, line] : content_lines(read_text_file(file))) {
    auto w = words(line);
    if (w.size() < 3 || w.size() > 4) fail(file.string(), n, "expected: code unicode glyph [substitute]");
    const int code = to_int(w[0], file.string(), n);
    if (code != kFirstCode + static_cast<int>(out.size())) fail(file.string(), n, "codes must run from 32 in order");
    out.push_back({code, w[2], w.size() == 4 ? w[3] : std::string()});
  }
  if (out.size() != kCodes) fail(file.string(), 0, "codes 32 to 254 expected");
  return out;
}

Afm read_afm(const std::filesystem::path& file) {
  Afm afm;
  std::istringstream in(read_text_file(file));
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto w = words(line);
    if (w.empty()) continue;
    if (w[0] == "FamilyName") afm.family = line.substr(line.find(w[1]));
    else if (w[0] == "IsFixedPitch") afm.fixed_pitch = w.size() > 1 && w[1] == "true";
    else if (w[0] == "XHeight" && w.size() > 1) afm.x_height = static_cast<int>(to_number(w[1], file.string(), n));
    else if (w[0] == "CapHeight" && w.size() > 1) afm.cap_height = static_cast<int>(to_number(w[1], file.string(), n));
    else if (w[0] == "C") {
      // C code ; WX width ; N name ; B ...
      double width = -1;
      std::string name;
      std::istringstream fields(line);
      for (std::string field; std::getline(fields, field, ';');) {
        auto f = words(field);
        if (f.size() == 2 && f[0] == "WX") width = to_number(f[1], file.string(), n);
        if (f.size() == 2 && f[0] == "N") name = f[1];
      }
      if (width < 0 || name.empty()) fail(file.string(), n, "character metrics without WX or N");
      afm.widths[name] = width;
    }
  }
  if (afm.widths.empty()) fail(file.string(), 0, "no character metrics");
  return afm;
}

std::string width_source(const FontEntry& font, const Afm& afm, const std::vector<CharEntry>& charset) {
  std::ostringstream out;
  std::string name = afm.family;
  for (auto& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  out << "# Width table LJ4\\" << font.file << ".MET, made by tools/makemet from the font metrics " << font.afm
      << ".afm\n# and the character set data/src/cp437.txt. Widths are in 1/1000 em as the PDF writer shows the\n"
      << "# font, at " << kShownWidth * 100 << " % of the font's metrics; a glyph in brackets is missing from the font\n"
      << "# and measured as the glyph before it.\n";
  out << "name      " << name << "\n";
  out << "style     " << font.style << "\n";
  out << "weight    " << font.weight << "\n";
  out << "typeface  " << font.typeface << "\n";
  out << "spacing   " << (afm.fixed_pitch ? 0 : 1) << "\n";
  out << "xheight   " << afm.x_height << "\n";
  out << "capheight " << afm.cap_height << "\n";
  out << "# code width glyph\n";
  for (const auto& c : charset) {
    auto it = afm.widths.find(c.glyph);
    std::string shown = c.glyph;
    if (it == afm.widths.end() && !c.substitute.empty()) {
      it = afm.widths.find(c.substitute);
      shown = c.substitute + " (" + c.glyph + ")";
    }
    if (it == afm.widths.end()) fail(font.afm, 0, "no glyph for code " + std::to_string(c.code) + ": " + c.glyph);
    std::string code = std::to_string(c.code), width = format_width(it->second * kShownWidth);
    out << code << std::string(5 - code.size(), ' ') << width << std::string(width.size() < 9 ? 9 - width.size() : 1, ' ')
        << shown << "\n";
  }
  return out.str();
}

WidthTable parse_width_source(const std::string& text, const std::string& what) {
  WidthTable t;
  int next = kFirstCode;
  for (const auto& [n, line] : content_lines(text)) {
    auto w = words(line);
    if (w[0] == "name" && w.size() >= 2) t.name = line.substr(line.find(w[1]));
    else if (w[0] == "style" && w.size() == 2) t.style = to_int(w[1], what, n);
    else if (w[0] == "weight" && w.size() == 2) t.weight = to_int(w[1], what, n);
    else if (w[0] == "typeface" && w.size() == 2) t.typeface = to_int(w[1], what, n);
    else if (w[0] == "spacing" && w.size() == 2) t.spacing = to_int(w[1], what, n);
    else if (w[0] == "xheight" && w.size() == 2) t.x_height = to_int(w[1], what, n);
    else if (w[0] == "capheight" && w.size() == 2) t.cap_height = to_int(w[1], what, n);
    else if (w.size() >= 2 && std::isdigit(static_cast<unsigned char>(w[0][0]))) {
      if (to_int(w[0], what, n) != next || next > kLastCode) fail(what, n, "codes must run from 32 to 254 in order");
      const double width = to_number(w[1], what, n);
      if (width < 0 || metric_units(width) > 32767) fail(what, n, "width out of range");
      t.widths[static_cast<size_t>(next - kFirstCode)] = width;
      ++next;
    } else {
      fail(what, n, "not understood: " + line);
    }
  }
  if (next != kLastCode + 1) fail(what, 0, "codes 32 to 254 expected");
  if (t.name.empty()) fail(what, 0, "no font name");
  return t;
}

int metric_units(double thousandths) { return static_cast<int>(std::lround(thousandths * 441 / 100)); }

std::string met_bytes(const WidthTable& t) {
  std::string header(80, '\0');
  put16be(header, 0, 80);                        // descriptor size
  header[2] = 10;                                // header format: scalable
  header[3] = 2;                                 // font type: all 256 codes printable
  put16be(header, 6, t.cap_height);              // baseline position (design units of 1/1000 em)
  header[12] = 0;                                // orientation: portrait
  header[13] = static_cast<char>(t.spacing);     // 0 fixed, 1 proportional
  put16be(header, 14, 10 * 32 + ('U' - 64));     // symbol set 10U (PC-8, code page 437)
  put16be(header, 20, t.x_height);
  header[23] = static_cast<char>(t.style);
  header[24] = static_cast<char>(t.weight);
  header[25] = static_cast<char>(t.typeface & 0xFF);
  header[26] = static_cast<char>((t.typeface >> 8) & 0xFF);
  header[28] = 2;                                // quality: letter
  put16be(header, 36, kFirstCode);
  put16be(header, 38, kLastCode);
  put16be(header, 42, t.cap_height);
  std::string name = t.name.substr(0, 16);
  name.resize(16, ' ');
  header.replace(48, 16, name);

  std::string out = "\x1b)s80W" + header;
  for (double w : t.widths) {
    const int u = metric_units(w);
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>((u >> 8) & 0xFF);
  }
  out += std::string(2, '\0');
  return out;
}

}  // namespace metrics
