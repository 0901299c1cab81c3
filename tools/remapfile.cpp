#include "remapfile.h"

#include <sstream>
#include <stdexcept>

namespace remapfile {

namespace {

int hex_code(const std::string& word, int line_no) {
  if (word.size() != 2 || word.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    throw std::runtime_error("line " + std::to_string(line_no) + ": \"" + word + "\" is no code of two hex digits");
  return std::stoi(word, nullptr, 16);
}

}  // namespace

std::string remap_table(const std::string& source) {
  std::istringstream in(source);
  std::string from, to, line;
  int line_no = 0;
  while (std::getline(in, line)) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string a, b;
    if (!(words >> a) || a[0] == '#') continue;
    if (!(words >> b)) throw std::runtime_error("line " + std::to_string(line_no) + ": no code to replace it by");
    const char f = static_cast<char>(hex_code(a, line_no));
    if (from.find(f) != std::string::npos) throw std::runtime_error("line " + std::to_string(line_no) + ": " + a + " twice");
    from += f;
    to += static_cast<char>(hex_code(b, line_no));
  }
  if (from.size() > 255) throw std::runtime_error("more than 255 pairs");
  return static_cast<char>(from.size()) + std::string("\r\n") + from + "\r\n" + to;
}

}  // namespace remapfile
