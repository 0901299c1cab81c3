// The block-structure check of the text editor.
#include "editcheck.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "edittext.h"
#include "modgeneral.h"

namespace quorvel {

namespace {

std::string remove_all(std::string s, const std::string& what) { return ReplaceAllText(s, what, ""); }

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool begins_with_text(const std::string& s, const std::string& word) {
  return s.size() >= word.size() && EqualText(s.substr(0, word.size()), word);
}

// The header keywords of the shipped conversion vocabulary (data/CONVOCAB.ENG, its first block), as the
// engine compares them: lower case, without points, hyphens and blanks.
const std::set<std::string>& header_keywords() {
  static const std::set<std::string> kWords = {
      "jobtitle", "title", "project", "projecttitle", "projectname", "contract", "contracttitle", "jobname",
      "contractor", "drillingcontractor", "subtitle", "scale", "verticalscale", "diameter", "holediameter",
      "boreholediameter", "client", "employer", "customer", "site", "sitename", "location", "position",
      "gridreference", "gridref", "coordinates", "groundlevel", "gl", "elevation", "reducedlevel", "rl",
      "collarlevel", "surfacelevel", "existinggroundlevel", "egl", "status", "datedrilled", "date",
      "datestarted", "started", "startdate", "dateexcavated", "excavated", "datefinished", "finished",
      "datecompleted", "completed", "enddate", "drillingmachine", "machine", "method", "drillingmethod",
      "excavationmethod", "rig", "plant", "equipment", "excavator", "profiledby", "loggedby", "describedby",
      "logger", "geologist", "engineer", "checkedby", "approvedby", "orientation", "inclination", "dip",
      "holenumber", "holeno", "hole", "holeid", "holename", "holeref", "holereference", "exploratoryhole",
      "borehole", "boreholeno", "boreholenumber", "bhno", "trialpit", "trialpitno", "tpno", "testpit", "pit",
      "pitno", "wsno", "type", "holetype", "jobnumber", "jobno", "job", "jobcode", "projectnumber",
      "projectno", "contractnumber", "contractno", "reference", "ref", "vocabulary", "logleftmargin",
      "logrightmargin", "profileleftmargin", "leftmargin", "profilerightmargin", "rightmargin", "suppress",
      "suppresscode", "indent", "dateprofiled", "datelogged", "typedby", "compress", "compresslog",
      "topdepth", "startdepth", "depthfrom", "symboldpi", "dpi", "resolution", "xcoord", "x", "easting",
      "ycoord", "y", "northing", "bezier", "colour", "color", "textcolour", "textcolor"};
  return kWords;
}

}  // namespace

bool IsContinuationLine(const std::string& line) {
  const std::string expanded = TabsToBlanks(line);
  return expanded.compare(0, 3, "   ") == 0 && expanded.find_first_not_of(' ') != std::string::npos;
}

bool StartsWithNumber(const std::string& expanded_line) {
  std::string s = Trim(expanded_line.substr(0, 3));
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool digit = false, point = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      digit = true;
    } else if ((c == '.' || c == ',') && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (i < s.size() && s[i] == '+' && digit) ++i;
  return digit && i == s.size();
}

BlockCheck CheckBlockStructure(const std::string& text) {
  BlockCheck r;
  r.hole_label = "Hole 1";
  long hole_no = 1;
  long line_no = 0;
  size_t done = 0;           // length of the lines examined, each with its CR LF
  size_t last_line_len = 0;  // length of the current trimmed line
  size_t pos = 0;
  while (pos < text.size()) {
    ++line_no;
    size_t end = text.find("\r\n", pos);
    std::string raw = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? text.size() : end + 2;
    done += raw.size() + 2;
    const std::string expanded = TabsToBlanks(raw);
    const std::string line = Trim(expanded);
    last_line_len = line.size();
    const bool one = line == "/", two = line == "//", three = line == "///";
    if (one && (r.state == 0 || r.state == 1)) {
      ++r.state;
    } else if (two && r.state == 2) {
      ++hole_no;
      r.state = 0;
      r.hole_label = "Hole " + std::to_string(hole_no);
    } else if (three && r.state == 0) {
      r.state = 3;
      // What follows is never read: count the lines that read as input of a hole.
      long n = line_no;
      size_t at = pos;
      while (at < text.size()) {
        ++n;
        size_t e = text.find("\r\n", at);
        const std::string raw_after = text.substr(at, e == std::string::npos ? std::string::npos : e - at);
        if (LooksLikeHoleInput(raw_after)) {
          const std::string after = Trim(TabsToBlanks(raw_after));
          if (r.lines_after_end++ == 0) {
            r.first_after_end_line = n;
            r.first_after_end_start = static_cast<long>(at);
            r.first_after_end = after.substr(0, 30);
          }
        }
        at = e == std::string::npos ? text.size() : e + 2;
      }
      break;
    } else if (one) {
      r.message = "Unexpected Single Slash / at cursor!\nWe expected an End-of-hole Double Slash // next.";
      break;
    } else if (two) {
      r.message = std::string("Unexpected Double Slash // at cursor!\nWe expected a Start-of-") +
                  (r.state == 0 ? "layers" : "Notes") + " Single Slash / next.";
      break;
    } else if (three) {
      r.message = std::string("Unexpected End-of-data Triple Slash /// at cursor!\nWe expected a") +
                  (r.state == 1 ? " Start-of-Notes Single Slash / next." : "n End-of-hole Double Slash // next.");
      break;
    } else if (r.state == 0) {
      std::string packed = remove_all(line, " ");
      if (ContainsText(packed, "HoleNo:") || ContainsText(packed, "HoleNumber:")) r.hole_label = remove_all(line, "  ");
    } else if (r.state == 1) {
      if (IsContinuationLine(raw)) continue;  // joined to the layer line before it
      if (!line.empty() && !StartsWithNumber(expanded))
        r.unnumbered += "\n" + r.hole_label + ", Line " + std::to_string(line_no) + ": " + line.substr(0, 30);
    }
  }
  r.holes = hole_no - 1;
  if (r.message.empty() && r.state != 3) {
    static const char* const kEarlyEnd[3] = {"End-of-data Triple Slash /// not found before end of file.",
                                            "Start-of-Notes second Single Slash / not found before end of file.",
                                            "End-of-hole Double Slash // not found before end of file."};
    r.message = kEarlyEnd[r.state];
    last_line_len = 0;
  }
  if (!r.message.empty()) {
    r.fault = true;
    long start = static_cast<long>(done) - static_cast<long>(last_line_len) - 2;
    r.sel_start = start < 0 ? 0 : start;
  }
  return r;
}

bool LooksLikeHoleInput(const std::string& raw) {
  const std::string expanded = TabsToBlanks(raw);
  const std::string line = Trim(expanded);
  if (line.empty()) return false;
  if (line == "/" || line == "//") return true;  // a second "///" adds nothing that is lost
  if (StartsWithNumber(expanded)) return true;  // a layer line (or an attribute record) with its depth
  const size_t colon = line.find(':');
  if (colon != std::string::npos) {
    std::string key = lower(line.substr(0, colon));
    key.erase(std::remove_if(key.begin(), key.end(), [](char c) { return c == '.' || c == '-' || c == ' '; }),
              key.end());
    if (header_keywords().count(key)) return true;
  }
  std::string heading = lower(line);  // NOTES: is "note", as the engine cuts a heading
  while (!heading.empty() && (heading.back() == 's' || heading.back() == ':' || heading.back() == ' '))
    heading.pop_back();
  if (heading == "note" || heading == "remark") return true;
  return begins_with_text(line, "ATTRIBUTE") || begins_with_text(line, "SAMPLES:") ||
         begins_with_text(line, "ABBREVIATION");
}

size_t EndOfDataLineBefore(const std::string& text, size_t pos) {
  const BlockCheck r = CheckBlockStructure(text.substr(0, std::min(pos, text.size())));
  if (r.state != 3) return std::string::npos;
  // The "///" line is the last line the walk read: find its start by walking the lines again.
  size_t start = 0, at = 0;
  while (at < text.size() && at <= pos) {
    size_t e = text.find("\r\n", at);
    if (Trim(TabsToBlanks(text.substr(at, e == std::string::npos ? std::string::npos : e - at))) == "///" ) {
      start = at;
      break;
    }
    at = e == std::string::npos ? text.size() : e + 2;
  }
  return start;
}

bool HasOrphanLineEnds(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
    } else if (text[i] == '\r' || text[i] == '\n') {
      return true;
    }
  }
  return false;
}

std::string RemoveOrphanLineEnds(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "\r\n";
      ++i;
    } else if (text[i] != '\r' && text[i] != '\n') {
      out += text[i];
    }
  }
  return out;
}

}  // namespace quorvel
