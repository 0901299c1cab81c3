// The symbol library: tile sources in, library bytes out, and back.
#include "symlib.h"

#include <fstream>
#include <set>
#include <sstream>

namespace symlib {
namespace {

std::string read_text(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) throw Error("cannot read " + p.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream in(text);
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool is_comment(const std::string& line) { return line.empty() || line[0] == '#'; }

void put16(std::string& out, int v) {
  out += static_cast<char>((v >> 8) & 0xFF);
  out += static_cast<char>(v & 0xFF);
}

int get16(const std::string& bytes, size_t at) {
  if (at + 2 > bytes.size()) throw Error("library too short for its header");
  int v = (static_cast<unsigned char>(bytes[at]) << 8) | static_cast<unsigned char>(bytes[at + 1]);
  return v > 32767 ? v - 65536 : v;
}

void check_names(const std::vector<Symbol>& symbols) {
  if (symbols.size() > kMaxSymbols)
    throw Error(std::to_string(symbols.size()) + " symbols; the library holds at most " + std::to_string(kMaxSymbols));
  std::set<std::string> seen;
  for (const auto& s : symbols) {
    if (s.name.empty() || s.name.size() > kMaxName || s.name.find_first_of(" |") != std::string::npos)
      throw Error("symbol name \"" + s.name + "\": 1 to 10 characters, no blank and no |");
    if (!seen.insert(s.name).second) throw Error("symbol " + s.name + " named twice");
  }
}

}  // namespace

std::vector<Symbol> parse_tiles(const std::string& text, const std::string& file) {
  std::vector<Symbol> out;
  const auto lines = split_lines(text);
  std::string comment;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const std::string where = file + ":" + std::to_string(i + 1) + ": ";
    if (is_comment(line)) {
      if (!line.empty()) comment += line + "\n";
      continue;
    }
    if (line.rfind("symbol ", 0) != 0) throw Error(where + "expected \"symbol NAME\" or a comment");
    Symbol s;
    s.name = line.substr(7);
    s.comment = comment;
    comment.clear();
    for (int r = 0; r < kHeight; ++r) {
      const size_t at = i + 1 + static_cast<size_t>(r);
      const std::string row_where = file + ":" + std::to_string(at + 1) + ": ";
      if (at >= lines.size()) throw Error(row_where + s.name + " ends after " + std::to_string(r) + " of 60 rows");
      const std::string& row = lines[at];
      if (row.size() != kWidth)
        throw Error(row_where + s.name + " row " + std::to_string(r) + " has " + std::to_string(row.size()) +
                    " characters, not 64");
      if (row.find_first_not_of("#.") != std::string::npos)
        throw Error(row_where + s.name + " row " + std::to_string(r) + " holds a character other than # and .");
      s.rows[static_cast<size_t>(r)] = row;
    }
    i += kHeight;
    out.push_back(std::move(s));
  }
  return out;
}

std::vector<Symbol> read_sources(const std::filesystem::path& folder) {
  std::vector<Symbol> all;
  for (const auto& line : split_lines(read_text(folder / "library.txt"))) {
    if (is_comment(line)) continue;
    auto tiles = parse_tiles(read_text(folder / line), line);
    all.insert(all.end(), tiles.begin(), tiles.end());
  }
  check_names(all);
  return all;
}

std::string build_library(const std::vector<Symbol>& symbols) {
  check_names(symbols);
  const int count = static_cast<int>(symbols.size());
  std::string title = "PROLIB.DAT - Veltrax soil symbol library - " + std::to_string(count) +
                      " symbols of 64 x 60 pixels";
  title.resize(kHeaderText - 2, ' ');
  std::string out = title + "\r\n";
  put16(out, count);
  put16(out, kBitmapBytes);
  const int list_length = count * kEntry;
  put16(out, list_length);
  for (const auto& s : symbols) {
    std::string entry = "|" + s.name;
    entry.resize(kEntry, ' ');
    out += entry;
  }
  if (list_length % 2) out += '\0';
  for (const auto& s : symbols) {
    for (const auto& row : s.rows) {
      for (int b = 0; b < kWidth / 8; ++b) {
        unsigned char byte = 0;
        for (int k = 0; k < 8; ++k)
          if (row[static_cast<size_t>(8 * b + k)] == '#') byte |= static_cast<unsigned char>(0x80 >> k);
        out += static_cast<char>(byte);
      }
    }
  }
  return out;
}

std::vector<Symbol> read_library(const std::string& bytes) {
  const int count = get16(bytes, 256);
  const int list_length = get16(bytes, 260);
  if (count < 0 || count > 100) throw Error("check value " + std::to_string(count) + " outside 0..100");
  if (list_length != count * kEntry) throw Error("name list of " + std::to_string(list_length) + " bytes");
  std::vector<Symbol> out;
  for (int n = 1; n <= count; ++n) {
    Symbol s;
    std::string entry = bytes.substr(262 + static_cast<size_t>((n - 1) * kEntry), kEntry);
    if (entry.size() != kEntry || entry[0] != '|') throw Error("name list entry " + std::to_string(n) + " damaged");
    s.name = entry.substr(1, entry.find_last_not_of(' '));
    const size_t at = static_cast<size_t>(kBitmapBytes * n + list_length - 218 + list_length % 2);
    if (at + kBitmapBytes > bytes.size()) throw Error("bitmap " + std::to_string(n) + " missing");
    for (int r = 0; r < kHeight; ++r) {
      std::string row;
      for (int b = 0; b < kWidth / 8; ++b) {
        const auto byte = static_cast<unsigned char>(bytes[at + static_cast<size_t>(r * 8 + b)]);
        for (int k = 0; k < 8; ++k) row += (byte & (0x80 >> k)) ? '#' : '.';
      }
      s.rows[static_cast<size_t>(r)] = row;
    }
    out.push_back(std::move(s));
  }
  return out;
}

std::string show(const Symbol& symbol, int repeat) {
  if (repeat < 1) repeat = 1;
  std::string out = "symbol " + symbol.name + "\n";
  for (int t = 0; t < repeat; ++t)
    for (const auto& row : symbol.rows) {
      for (int k = 0; k < repeat; ++k) out += row;
      out += "\n";
    }
  return out;
}

}  // namespace symlib
