// Paths shown on a row of the console: where a whole path does not fit, its end is shown after "...",
// because the end (the file and the folders just above it) is what tells one path from another.
// Room is counted in the cells the console shows: where names are UTF-8 a letter of a name takes one
// cell whatever its bytes, and a path is never cut inside one; elsewhere a byte is a cell.
#include <algorithm>

#include "engine/frame/helpers.h"
#include "platform/console.h"

namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

long cells(std::string_view text) { return static_cast<long>(platform::text_cells(text)); }

}  // namespace

size_t path_cut(const std::string& path, long room) {
  constexpr long kMark = 4;  // "..." and the separator before the rest
  const long size = cells(path);
  if (size <= room) return 0;
  // Separators are ASCII, so a cut just after one never falls inside a letter; the cells after it are
  // the whole path's less those before it.
  size_t cut = 0;
  long before = 0;
  for (;;) {
    size_t sep = cut;
    while (sep < path.size() && !is_separator(path[sep])) ++sep;
    if (sep + 1 < path.size()) {
      before += cells(std::string_view(path).substr(cut, sep + 1 - cut));
      cut = sep + 1;
      if (kMark + size - before <= room) return cut;
      continue;
    }
    const long keep = std::max(1L, room - kMark);
    return path.size() - platform::tail_text(path, static_cast<size_t>(std::min(keep, size))).size();
  }
}

std::vector<std::string> fold_words(const std::string& text, size_t width) {
  std::vector<std::string> lines;
  if (width == 0) return lines;
  size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && text[at] == ' ' && !lines.empty()) ++at;  // a folded line starts at a word
    if (at >= text.size()) break;
    if (text.size() - at <= width) {
      lines.push_back(text.substr(at));
      break;
    }
    // The last blank within the width ends the line; a word longer than the width is cut there.
    size_t cut = text.rfind(' ', at + width);
    if (cut == std::string::npos || cut <= at) cut = at + width;
    std::string line = text.substr(at, cut - at);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
    at = cut;
  }
  return lines;
}

std::string shown_path(const std::string& path) {
  if (path.empty() || (path[0] != '/' && path[0] != '~')) return path;
  std::string shown = path;
  for (char& c : shown)
    if (c == '\\') c = '/';
  return shown;
}

std::string path_end(const std::string& path, long room) {
  const size_t cut = path_cut(path, room);
  if (cut == 0) return path;
  const char sep = is_separator(path[cut - 1]) ? path[cut - 1] : '\\';
  return std::string("...") + sep + path.substr(cut);
}

namespace {

// A text with the paths that stand in it, each shown whole or shortened.
struct PathText {
  struct Place {
    size_t at;
    std::string path, shown;
  };
  std::string text;
  std::vector<Place> places;
  std::vector<size_t> longest_first;

  long excess(long width) const { return cells(text) - width; }
  // Places are byte offsets into text; a path gives way only to a shown form of fewer cells.
  void show(size_t i, const std::string& shown) {
    Place& pl = places[i];
    if (cells(shown) >= cells(pl.shown)) return;
    text.replace(pl.at, pl.shown.size(), shown);
    const size_t less = pl.shown.size() - shown.size();
    for (Place& other : places)
      if (other.at > pl.at) other.at -= less;
    pl.shown = shown;
  }
};

std::string last_part(const std::string& p) {
  const size_t sep = p.find_last_of("\\/");
  return sep == std::string::npos || sep + 1 == p.size() ? p : p.substr(sep + 1);
}

}  // namespace

std::string fit_paths(const std::string& text, const std::vector<std::string>& paths, long width) {
  PathText t{text, {}, {}};
  size_t from = 0;
  for (const std::string& p : paths) {
    if (p.empty()) continue;
    const size_t at = t.text.find(p, from);
    if (at == std::string::npos) continue;
    t.places.push_back({at, p, p});
    from = at + p.size();
  }
  for (size_t i = 0; i < t.places.size(); ++i) t.longest_first.push_back(i);
  std::stable_sort(t.longest_first.begin(), t.longest_first.end(),
                   [&](size_t a, size_t b) { return cells(t.places[a].path) > cells(t.places[b].path); });
  // The longest path gives way first, each as far as the text needs but not below "...\" and its last
  // part, so that no path is cut to nothing while another stands whole.
  for (size_t i : t.longest_first) {
    const long excess = t.excess(width);
    if (excess <= 0) break;
    const std::string& path = t.places[i].path;
    const long least = 4 + cells(last_part(path));
    t.show(i, path_end(path, std::max(least, cells(path) - excess)));
  }
  if (t.excess(width) > 0) {
    // Not enough: the last parts alone, when that is enough (the names themselves then all show);
    // else the longest last part shows its end.
    PathText bare = t;
    for (size_t i : bare.longest_first) bare.show(i, last_part(bare.places[i].path));
    if (bare.excess(width) <= 0) return bare.text;
    for (size_t i : t.longest_first) {
      const long excess = t.excess(width);
      if (excess <= 0) break;
      t.show(i, path_end(t.places[i].path, cells(t.places[i].shown) - excess));
    }
  }
  if (t.excess(width) > 0) t.text = platform::cut_text(t.text, static_cast<size_t>(std::max(0L, width)));
  return t.text;
}
