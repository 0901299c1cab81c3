// Shared procedures of the front end.
#include "modgeneral.h"

#include "platform/wholefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "globals.h"
#include "platform/paths.h"
#include "version.h"

namespace fs = std::filesystem;

namespace quorvel {

namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

size_t find_text(const std::string& s, const std::string& needle, size_t from = 0) {
  if (needle.empty()) return from <= s.size() ? from : std::string::npos;
  if (s.size() < needle.size()) return std::string::npos;
  for (size_t i = from; i + needle.size() <= s.size(); ++i) {
    size_t k = 0;
    while (k < needle.size() && lower(s[i + k]) == lower(needle[k])) ++k;
    if (k == needle.size()) return i;
  }
  return std::string::npos;
}

size_t last_separator(const std::string& s) { return s.find_last_of("/\\"); }

}  // namespace

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

std::string ToUpper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool EqualText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && find_text(a, b) == 0;
}

bool ContainsText(const std::string& haystack, const std::string& needle) {
  return find_text(haystack, needle) != std::string::npos;
}

bool StartsWithText(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && EqualText(s.substr(0, prefix.size()), prefix);
}

std::string ReplaceAllText(const std::string& s, const std::string& from, const std::string& to) {
  if (from.empty()) return s;
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = find_text(s, from, pos)) != std::string::npos; pos = hit + from.size())
    out += s.substr(pos, hit - pos) + to;
  return out + s.substr(pos);
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool EndsWithSeparator(const std::string& s) { return !s.empty() && IsSeparator(s.back()); }

std::string WithFinalSeparator(const std::string& s) { return EndsWithSeparator(s) ? s : s + "/"; }

bool Exists(const std::string& path) {
  if (path.empty()) return false;
  platform::MappedPath m = platform::map_existing(path);
  if (m.error) return false;
  struct stat st {};
  return ::stat(m.path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 1;
}

bool ExistDir(const std::string& path) {
  if (path.empty()) return false;
  platform::MappedPath m = platform::map_existing(path);
  if (m.error) return false;
  struct stat st {};
  return ::stat(m.path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(m.path.c_str(), X_OK) == 0;
}

std::string ShortPath(const std::string& path) {
  if (path.empty()) return {};
  platform::MappedPath m = platform::map_existing(path);
  if (m.error) return {};
  std::error_code ec;
  fs::path abs = fs::absolute(m.path, ec);
  if (ec || !fs::exists(abs, ec)) return {};
  std::string out = abs.lexically_normal().string();
  if (out.size() > 1 && out.back() == '/') out.pop_back();
  if (EndsWithSeparator(path) && fs::is_directory(abs, ec) && out != "/") out += '/';
  return out;
}

std::string FolderOf(const std::string& path) {
  // Searching from the second-last character: a final separator names the folder itself.
  if (path.size() < 2) return {};
  size_t p = path.find_last_of("/\\", path.size() - 2);
  return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string FileTitleOf(const std::string& path) {
  std::string p = path;
  if (EndsWithSeparator(p)) p.pop_back();
  size_t s = last_separator(p);
  return s == std::string::npos ? p : p.substr(s + 1);
}

std::string NextToken(std::string& source, const std::string& delimiter) {
  size_t p = delimiter.empty() ? std::string::npos : source.find(delimiter);
  std::string token;
  if (p == std::string::npos) {
    token = source;
    source.clear();
  } else {
    token = source.substr(0, p);
    source.erase(0, p + delimiter.size());
  }
  return token;
}

std::string NextTokenTrim(std::string& source, const std::string& delimiter) {
  return Trim(NextToken(source, delimiter));
}

std::string StripEngineFolder(const std::string& path, const std::string& engine_folder) {
  if (Trim(engine_folder).empty()) return path;
  return ReplaceAllText(path, WithFinalSeparator(engine_folder), "");
}

std::string ShortenForDisplay(std::string& path) {
  if (path.size() <= 80) return path;
  size_t s = last_separator(path);
  std::string tail = s == std::string::npos ? "/" + path : path.substr(s);
  if (tail.size() > 70) tail = tail.substr(tail.size() - 70);
  path = path.substr(0, 77 - tail.size()) + "..." + tail;
  return path;
}

std::string Plural(long count, const std::string& noun, const std::optional<std::string>& plural) {
  if (count == 1 || count == -1) return "One " + Trim(noun);
  return std::to_string(count) + " " + Trim(plural ? *plural : noun + "s");
}

std::string OutputFileName(const std::string& input_name, const std::string& output_folder,
                           const std::string& engine_version) {
  std::string name = input_name;
  size_t sep = last_separator(name);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && (sep == std::string::npos || dot > sep)) name.erase(dot);
  name += ".PDF";
  if (!output_folder.empty()) {
    std::string folder = CompareVersionText(engine_version, "7000") > 0 ? output_folder : ShortPath(output_folder);
    name = folder + FileTitleOf(name);
  }
  return name;
}

void NotAvailableYet(MessageBoxPort& box) {
  box.show({"This item is not available yet!", Buttons::Ok, Icon::Information, "Sorry!"});
}

int SelectListItem(const std::string& text, ListState& list, bool prefix) {
  for (size_t i = 0; i < list.items.size(); ++i) {
    const std::string& item = list.items[i];
    if (EqualText(item, text) || (prefix && StartsWithText(item, text))) {
      list.index = static_cast<int>(i);
      list.text = item;
      return list.index;
    }
  }
  return list.index <= 0 ? 0 : -1;
}

void AddFileToList(const std::string& file, ListState& list) {
  CurrentStep = "Inserting " + file + " in File List";
  auto hit = std::find_if(list.items.begin(), list.items.end(),
                          [&](const std::string& item) { return EqualText(item, file); });
  if (hit == list.items.end() || hit != list.items.begin()) {
    if (hit != list.items.end()) list.items.erase(hit);
    list.items.insert(list.items.begin(), file);
  }
  list.text = file;
  list.index = 0;
}

int DeleteTempFiles(const std::string& engine_folder) {
  // The patterns name the engine's own work files; a folder without the engine is never touched
  // (an empty folder box would otherwise mean the root folder, or the current one).
  if (Trim(engine_folder).empty()) return 0;
  std::string folder = WithFinalSeparator(engine_folder);
  if (!Exists(folder + kEngineProgram)) return 0;
  static const char* const patterns[] = {"@runfile.dat", "LOGOLIST.DAT", "TRXFILES", "WORK-ATT.*", "WORK-LAY.*",
                                         "*.TRX",        "*.TMP",        "*.STK",    "DIRDUM",     "FILESB",
                                         "FILESR",       "Awork.*",      "Dwork.*",  "PAGER.*"};
  platform::MappedPath base = platform::map_existing(folder);
  if (base.error) return 0;
  int deleted = 0;
  for (const char* pattern : patterns) {
    for (const platform::FolderEntry& e : platform::list_matching(folder + pattern)) {
      if (e.folder) continue;
      std::error_code ec;
      if (fs::remove(fs::path(base.path) / e.name, ec)) ++deleted;
    }
  }
  return deleted;
}

std::optional<std::string> ExpandEscapes(const std::string& text) {
  std::string s = text;
  auto replace_exact = [&s](const std::string& from, const std::string& to) {
    std::string out;
    size_t pos = 0;
    for (size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size())
      out += s.substr(pos, hit - pos) + to;
    s = out + s.substr(pos);
  };
  replace_exact("^p", "\r\n");
  replace_exact("^t", "\t");
  for (size_t p = s.find('\\'); p != std::string::npos; p = s.find('\\', p)) {
    std::string code = s.substr(p + 1, 3);
    // A number as the language's numeric test takes it: blanks around, a sign, digits, a point.
    std::string t = Trim(code);
    char* end = nullptr;
    double v = t.empty() || code.size() < 3 ? 0 : std::strtod(t.c_str(), &end);
    bool numeric = !t.empty() && code.size() == 3 && end && *end == '\0' &&
                   t.find_first_of("0123456789") != std::string::npos && t.find_first_of("xXnNiIpP") == std::string::npos;
    if (!numeric) {
      ++p;
      continue;
    }
    double r = std::nearbyint(v);
    if (r < 0 || r > 255) return std::nullopt;
    s.replace(p, 4, 1, static_cast<char>(static_cast<unsigned char>(r)));
    ++p;
  }
  return s;
}

}  // namespace quorvel

namespace quorvel {

int ReplaceFileContents(const std::string& path, const std::string& bytes) {
  // The engine's writer of whole files (platform/wholefile.h), so both programs follow the same rules:
  // a link is followed, permissions are kept, every write, the sync and the close are checked.
  platform::NewFile file(path);
  file.write(bytes.data(), bytes.size());
  return file.commit(true);
}

}  // namespace quorvel
