// The tests' reader of PCL printer streams: no PCL interpreter is packaged, so the streams are parsed
// as a printer would read them.
#pragma once

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

namespace testing_support {

// A PCL stream read as a printer would: every escape sequence well formed, the cursor on the page, the
// texts as text runs, and where each rule and text run stands (in dots, page counted from 0 by the form
// feeds before it). Returns false at the first malformed byte (what says where).
struct PclRead {
  int form_feeds = 0, rules = 0, hpgl = 0;  // hpgl: HP-GL/2 sections
  std::string text;  // the text runs, each followed by a line end
  bool on_page = true;
  struct Rule {
    int page;
    long x, y, width, height;
  };
  struct Text {
    int page;
    long x, y;
    std::string text;
  };
  std::vector<Rule> rule_boxes;
  std::vector<Text> texts;
};
inline bool read_pcl(const std::string& b, PclRead& r, std::string& what) {
  const std::string head = "\x1b%-12345X@PJL ENTER LANGUAGE=PCL\r\n";
  if (b.rfind(head, 0) != 0) return what = "no job head", false;
  size_t i = head.size();
  std::string run;
  long cx = 0, cy = 0, width = 0, height = 0;  // the cursor and the rule's size
  auto end_run = [&] {
    if (run.empty()) return;
    r.text += run + "\n";
    r.texts.push_back({r.form_feeds, cx, cy, run});
    run.clear();
  };
  while (i < b.size()) {
    const unsigned char c = static_cast<unsigned char>(b[i]);
    if (c == 27) {
      end_run();
      if (b.compare(i, 9, "\x1b%-12345X") == 0) {
        i += 9;
        continue;
      }
      // HP-GL/2 inside the printer's page (a data-file curve): read up to the switch back to PCL.
      if (b.compare(i, 4, "\x1b%0B") == 0) {
        const size_t back = b.find("\x1b%1A", i);
        if (back == std::string::npos) return what = "HP-GL/2 not left at " + std::to_string(i), false;
        ++r.hpgl;
        i = back + 4;
        continue;
      }
      if (i + 1 >= b.size()) return what = "ESC at the end", false;
      const unsigned char g = static_cast<unsigned char>(b[i + 1]);
      if (g >= 48 && g <= 126) {  // two-character sequence (ESC E)
        i += 2;
        continue;
      }
      if (g < 33 || g > 47) return what = "bad group at " + std::to_string(i), false;
      size_t j = i + 2;
      if (j < b.size() && b[j] >= 96 && b[j] <= 126) ++j;  // parameter character
      const std::string kind = b.substr(i + 1, j - i - 1);
      for (;;) {
        const size_t v = j;
        while (j < b.size() && (std::isdigit(static_cast<unsigned char>(b[j])) || b[j] == '+' || b[j] == '-' || b[j] == '.')) ++j;
        if (j >= b.size()) return what = "sequence cut at " + std::to_string(i), false;
        const char t = b[j];
        if (kind == "*p" && (t == 'x' || t == 'X' || t == 'y' || t == 'Y') && j > v) {
          const long n = std::stol(b.substr(v, j - v));
          const bool across = t == 'x' || t == 'X', relative = b[v] == '+' || b[v] == '-';
          long& at = across ? cx : cy;
          at = relative ? at + n : n;
          if (!relative && (n < 0 || n > (across ? 2480 : 3508))) r.on_page = false;
        }
        if (kind == "*c" && (t == 'a' || t == 'A') && j > v) width = std::lround(std::stod(b.substr(v, j - v)));
        if (kind == "*c" && (t == 'b' || t == 'B') && j > v) height = std::lround(std::stod(b.substr(v, j - v)));
        if (kind == "*c" && t == 'P') {
          ++r.rules;
          r.rule_boxes.push_back({r.form_feeds, cx, cy, width, height});
        }
        ++j;
        if (t >= 64 && t <= 94) break;  // an upper-case terminator ends the sequence
        if (!(t >= 96 && t <= 126)) return what = "bad value character at " + std::to_string(j - 1), false;
      }
      i = j;
    } else if (c == 12) {
      end_run();
      ++r.form_feeds, ++i;
    } else if (c == 14 || c == 15) {
      ++i;
    } else if (c >= 32) {
      run += static_cast<char>(c), ++i;
    } else {
      return what = "control byte " + std::to_string(c) + " at " + std::to_string(i), false;
    }
  }
  end_run();
  return true;
}

}  // namespace testing_support
