// Path mapping: drive letters, both separators, case-insensitive match of existing names.
//
// A name is first looked up as written (one stat). Only when that fails are its parts matched without
// regard to letter case, each in a listing of its folder that is kept from one lookup to the next: the
// kernel's notices of changes to a listed folder (inotify) keep the listing up to date, whether the
// engine or another program creates, deletes or renames a file there. Where no such notices can be
// had, the folder is listed at every lookup.
#include "paths.h"

#include "console.h"
#include "names.h"
#include "wholefile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <string>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace fs = std::filesystem;

namespace platform {
namespace {

using Names = NameSet;

void add_name(Names& names, const std::string& name) { names.add(name); }

void remove_name(Names& names, const std::string& name) { names.remove(name); }

// Every name in the folder (empty when it cannot be read; read then says so).
Names list_folder(const std::string& folder, bool* read = nullptr) {
  Names names;
  DIR* d = ::opendir(folder.c_str());
  if (read) *read = d != nullptr;
  if (d) {
    while (const dirent* e = ::readdir(d)) {
      const std::string n = e->d_name;
      if (n != "." && n != "..") add_name(names, n);
    }
    ::closedir(d);
  }
  return names;
}

// The kept listings of folders, one per folder watched for changes.
class FolderListings {
 public:
  ~FolderListings() {
    if (fd_ >= 0) ::close(fd_);
  }

  // The name in folder (native, "." for the current one) equal to part without regard to letter case;
  // false when there is none or the folder cannot be read.
  bool find(const std::string& folder, const std::string& part, std::string& name) {
    return look(folder, part, name, nullptr) == Found::yes;
  }

  // As find, and whether the folder could be read at all; device receives the folder's device when
  // it is known without asking again (0 otherwise).
  enum class Found { yes, no, no_folder };
  Found look(const std::string& folder, const std::string& part, std::string& name, std::uint64_t* device) {
    const Names* names = listing(folder, device);
    Names fresh;
    if (!names) {
      bool read = false;
      fresh = list_folder(folder, &read);
      if (!read) return Found::no_folder;
      names = &fresh;
    }
    return names->find(part, name) ? Found::yes : Found::no;
  }

 private:
  struct Listing {
    dev_t dev = 0;
    ino_t ino = 0;
    Names names;
  };
  int fd_ = -2;  // the inotify descriptor; -1 when there is none, -2 before the first try
  std::unordered_map<int, Listing> by_watch_;
  std::unordered_map<std::string, int> watch_of_folder_;

  // The kept listing of a folder, brought up to date; nullptr when none can be kept.
  const Names* listing(const std::string& folder, std::uint64_t* device = nullptr) {
    if (fd_ == -2) fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) return nullptr;
    take_notices();
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return nullptr;
    if (device) *device = st.st_dev;
    // The folder of this name may be another one now (a folder on its way was renamed).
    if (auto w = watch_of_folder_.find(folder); w != watch_of_folder_.end()) {
      auto l = by_watch_.find(w->second);
      if (l != by_watch_.end() && l->second.dev == st.st_dev && l->second.ino == st.st_ino) return &l->second.names;
      watch_of_folder_.erase(w);
    }
    // Watched before it is listed, so that no change after the listing goes unnoticed.
    const int wd = ::inotify_add_watch(fd_, folder.c_str(),
                                       IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                                           IN_MOVE_SELF | IN_ONLYDIR);
    if (wd < 0) return nullptr;
    auto [l, added] = by_watch_.try_emplace(wd);
    if (added || l->second.dev != st.st_dev || l->second.ino != st.st_ino) {
      l->second = Listing{st.st_dev, st.st_ino, list_folder(folder)};
    }
    watch_of_folder_[folder] = wd;
    return &l->second.names;
  }

  // Applies the notices of changes that arrived since the last look.
  void take_notices() {
    alignas(inotify_event) char buf[16384];
    for (;;) {
      const ssize_t got = ::read(fd_, buf, sizeof buf);
      if (got <= 0) return;  // nothing more (EAGAIN)
      for (ssize_t at = 0; at < got;) {
        const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
        at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        if (e->mask & IN_Q_OVERFLOW) {
          forget_all();
          continue;
        }
        auto l = by_watch_.find(e->wd);
        if (l == by_watch_.end()) continue;
        if (e->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
          forget(e->wd);
          continue;
        }
        const std::string name = e->len ? std::string(e->name) : std::string();
        if (name.empty()) continue;
        if (e->mask & (IN_CREATE | IN_MOVED_TO)) add_name(l->second.names, name);
        if (e->mask & (IN_DELETE | IN_MOVED_FROM)) remove_name(l->second.names, name);
      }
      // Room was left for one more notice: there was none then (no second read to be told so).
      if (static_cast<size_t>(got) + sizeof(inotify_event) + NAME_MAX + 1 <= sizeof buf) return;
    }
  }

  void forget(int wd) {
    by_watch_.erase(wd);
    std::erase_if(watch_of_folder_, [wd](const auto& w) { return w.second == wd; });
    ::inotify_rm_watch(fd_, wd);
  }

  // After lost notices: every folder is listed again when next needed.
  void forget_all() {
    for (const auto& [wd, l] : by_watch_) ::inotify_rm_watch(fd_, wd);
    by_watch_.clear();
    watch_of_folder_.clear();
  }
};

FolderListings& listings() {
  static FolderListings l;
  return l;
}

std::string home_folder() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/root";
}

// Root folder for a drive letter; empty when the drive is not mapped.
std::string drive_root(char letter) {
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  std::string var = std::string("VLX_DRIVE_") + letter;
  if (const char* v = std::getenv(var.c_str()); v && *v) return v;
  if (letter == 'C') return home_folder();
  return {};
}

struct Split {
  std::string root;                // "/" or a drive folder, empty for relative names
  std::vector<std::string> parts;  // parts in order; "." removed
  int error = 0;
};

Split split(std::string_view name) {
  Split s;
  size_t i = 0;
  if (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':') {
    s.root = drive_root(name[0]);
    if (s.root.empty()) s.error = 71;
    i = 2;
  } else if (!name.empty() && (name[0] == '/' || name[0] == '\\')) {
    s.root = "/";
  }
  std::string part;
  for (; i <= name.size(); ++i) {
    char c = i < name.size() ? name[i] : '/';
    if (c == '/' || c == '\\') {
      if (!part.empty() && part != ".") s.parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  return s;
}

bool entry_exists(const fs::path& p) {
  struct stat st {};
  return ::lstat(p.c_str(), &st) == 0;
}

// Finds an entry of a folder by name: the exact name first (unless known to be missing), then any name
// equal without regard to case.
bool find_entry(const fs::path& folder, const std::string& part, fs::path& out, bool exact_missing) {
  std::error_code ec;
  fs::path exact = folder / part;
  if (part == "..") {
    out = exact;
    return fs::exists(exact, ec);
  }
  if (!exact_missing && entry_exists(exact)) {
    out = exact;
    return true;
  }
  std::string name;
  if (!listings().find(folder.empty() ? std::string(".") : folder.string(), part, name)) return false;
  out = folder / name;
  return true;
}

// What a lookup saw of the name it found: a regular file's identity, size and change time, or a folder.
void take_details(MappedPath& r, const struct stat& st) {
  if (S_ISREG(st.st_mode)) {
    r.device = st.st_dev, r.inode = st.st_ino, r.size = st.st_size;
    r.mtime_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    r.regular = true;
  }
  r.folder = S_ISDIR(st.st_mode);
}

MappedPath map(std::string_view name, bool create) {
  MappedPath r;
  Split s = split(name);
  fs::path cur = s.root.empty() ? fs::path() : fs::path(s.root);
  if (s.error) {
    r.error = s.error;
    r.path = std::string(name);
    return r;
  }
  if (s.parts.empty()) {
    r.path = s.root.empty() ? std::string(".") : s.root;
    if (!name.empty() || create) return r;
    r.error = 53;
    return r;
  }
  // The name as written, when it exists.
  fs::path exact = cur;
  for (const auto& part : s.parts) exact /= part;
  struct stat st {};
  if (::lstat(exact.c_str(), &st) == 0) {
    r.path = exact.string();
    take_details(r, st);
    return r;
  }
  // The folder as written, when it is there: only the last part is matched without regard to case
  // (a look at the folder's kept listing), not every part on the way.
  const bool plain = std::find(s.parts.begin(), s.parts.end(), "..") == s.parts.end();
  std::string found_name;
  std::uint64_t folder_device = 0;
  const fs::path folder = exact.parent_path();
  const auto seen = plain ? listings().look(folder.empty() ? std::string(".") : folder.string(), s.parts.back(),
                                            found_name, &folder_device)
                          : FolderListings::Found::no_folder;
  if (seen == FolderListings::Found::no) {
    r.path = exact.string();
    if (!create) r.error = 53;
    r.free = folder_device != 0;
    r.folder_device = folder_device;
    return r;
  }
  bool as_written = true;  // every part so far found as written
  bool found_all = true;
  if (seen == FolderListings::Found::yes) {
    cur = folder / found_name;
    as_written = false;
  }
  for (size_t k = seen == FolderListings::Found::yes ? s.parts.size() : 0; k < s.parts.size(); ++k) {
    bool last = k + 1 == s.parts.size();
    fs::path found;
    if (find_entry(cur, s.parts[k], found, last && as_written)) {
      as_written = as_written && found == cur / s.parts[k];
      cur = found;
      continue;
    }
    found_all = false;
    cur /= s.parts[k];
    if (last) {
      if (!create) r.error = 53;
    } else {
      r.error = 76;
      // Keep the rest of the name in the guess, for messages.
      for (size_t j = k + 1; j < s.parts.size(); ++j) cur /= s.parts[j];
      break;
    }
  }
  r.path = cur.string();
  // Found under another letter case: what is there, as for a name found as written.
  if (found_all && r.error == 0 && ::lstat(cur.c_str(), &st) == 0) take_details(r, st);
  return r;
}

}  // namespace

MappedPath map_existing(std::string_view name) { return map(name, false); }

MappedPath map_for_create(std::string_view name) { return map(name, true); }

bool exists(std::string_view name) {
  if (name.empty()) return false;
  MappedPath m = map_existing(name);
  return m.error == 0;
}

bool is_folder(std::string_view name) {
  MappedPath m = map_existing(name);
  std::error_code ec;
  return m.error == 0 && fs::is_directory(m.path, ec);
}

std::string program_folder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return exe.parent_path().string();
}

std::string search_path(std::string_view name) {
  if (name.empty()) return {};
  std::error_code ec;
  auto try_in = [&](const std::string& folder) -> std::string {
    std::string candidate = folder.empty() ? std::string(name) : folder + "/" + std::string(name);
    MappedPath m = map_existing(candidate);
    if (m.error == 0 && fs::is_regular_file(m.path, ec)) return fs::absolute(m.path, ec).lexically_normal().string();
    return {};
  };
  // A name with a folder or drive part is looked up as it stands.
  if (name.find_first_of("/\\:") != std::string_view::npos) return try_in("");
  std::vector<std::string> folders;
  folders.push_back(program_folder());
  folders.push_back(fs::current_path(ec).string());
  if (const char* p = std::getenv("PATH")) {
    std::string path = p;
    size_t start = 0;
    while (start <= path.size()) {
      size_t end = path.find(':', start);
      if (end == std::string::npos) end = path.size();
      if (end > start) folders.push_back(path.substr(start, end - start));
      start = end + 1;
    }
  }
  for (const auto& f : folders) {
    if (f.empty()) continue;
    std::string hit = try_in(f);
    if (!hit.empty()) return hit;
  }
  return {};
}

namespace {

// The lower case of a letter: the Latin letters of the Western and Central European code pages, Greek
// and Cyrillic by rule (whatever locale the process runs in), else what the C library says.
char32_t fold_letter(char32_t u) {
  if (u < 0x80) return static_cast<char32_t>(std::tolower(static_cast<int>(u)));
  if ((u >= 0xC0 && u <= 0xDE && u != 0xD7) || (u >= 0x391 && u <= 0x3AB && u != 0x3A2) ||
      (u >= 0x410 && u <= 0x42F))
    return u + 0x20;
  if (u >= 0x400 && u <= 0x40F) return u + 0x50;
  if (u == 0x178) return 0xFF;
  if ((u >= 0x100 && u <= 0x137) || (u >= 0x14A && u <= 0x177)) return u | 1;
  if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E)) return (u & 1) != 0 ? u + 1 : u;
  return static_cast<char32_t>(std::towlower(static_cast<wint_t>(u)));
}

// A name as the characters the mask matches, case folded: in the terminal's UTF-8 each letter of a name
// is one (name_character); every other byte is one of its own (ASCII folded, the rest as they are).
std::u32string match_units(std::string_view text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    char32_t u = 0;
    if (const size_t len = name_character(text, i, u); len > 0) {
      out += fold_letter(u);
      i += len;
      continue;
    }
    const auto b = static_cast<unsigned char>(text[i++]);
    out += b < 0x80 ? static_cast<char32_t>(std::tolower(b)) : 0x200000 + b;
  }
  return out;
}

// True when name matches the wildcard mask ("*" any run, "?" one character), letter case ignored
// (also of letters beyond ASCII where names are UTF-8: "ä*" finds "Ärger.txt").
bool wild_match(std::string_view mask_text, std::string_view name_text) {
  const std::u32string mask = match_units(mask_text), name = match_units(name_text);
  size_t m = 0, n = 0, star = std::u32string::npos, resume = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == U'*') {
      star = m++;
      resume = n;
    } else if (m < mask.size() && (mask[m] == U'?' || mask[m] == name[n])) {
      ++m;
      ++n;
    } else if (star != std::u32string::npos) {
      m = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == U'*') ++m;
  return m == mask.size();
}

// The order of a folder search on Windows, which the engine's users rely on: by name without regard to
// letter case, letters compared as capitals (so "_" comes after the letters, as there); names that
// differ only in case keep a fixed order by their bytes.
bool before_by_name(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int x = std::toupper(static_cast<unsigned char>(a[i])), y = std::toupper(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

}  // namespace

std::vector<FolderEntry> list_matching(std::string_view mask, size_t limit, bool hidden) {
  std::vector<FolderEntry> out;
  const std::string_view folder = folder_part(mask);
  std::string_view pattern = file_part(mask);
  if (pattern == "*.*") pattern = "*";
  std::string dir = ".";
  if (!folder.empty()) {
    MappedPath m = map_existing(folder);
    if (m.error) return out;
    dir = m.path;
  }
  // Every match first, then the first ones by name: a folder of many entries is read whole, but only
  // the entries kept are ordered fully and asked whether they are folders.
  struct Found {
    std::string name;
    unsigned char type;
  };
  std::vector<Found> found;
  DIR* d = ::opendir(dir.c_str());
  if (!d) return out;
  while (const dirent* e = ::readdir(d)) {
    const std::string_view n = e->d_name;
    if (n == "." || n == "..") continue;
    if (!hidden && n[0] == '.') continue;
    if (!wild_match(pattern, n)) continue;
    found.push_back({std::string(n), e->d_type});
  }
  ::closedir(d);
  const auto by_name = [](const Found& a, const Found& b) { return before_by_name(a.name, b.name); };
  const size_t kept = std::min(limit, found.size());
  std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end(), by_name);
  found.resize(kept);
  out.reserve(kept);
  for (Found& f : found) {
    bool is_folder = f.type == DT_DIR;
    if (f.type == DT_UNKNOWN || f.type == DT_LNK) {  // the type is not known, or a link leads to it
      struct stat st {};
      is_folder = ::stat((fs::path(dir) / f.name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    out.push_back({std::move(f.name), is_folder});
  }
  return out;
}

std::string_view folder_part(std::string_view name) {
  size_t p = name.find_last_of("/\\:");
  return p == std::string_view::npos ? std::string_view() : name.substr(0, p + 1);
}

std::string_view file_part(std::string_view name) {
  size_t p = name.find_last_of("/\\:");
  return p == std::string_view::npos ? name : name.substr(p + 1);
}

std::string file_key(std::string_view name) {
  const MappedPath m = map_for_create(name);
  if (name.empty() || m.path.empty()) return {};
  const std::string path = resolve_target(m.path);
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  char* real = ::realpath(folder.c_str(), nullptr);
  if (real == nullptr) return {};
  std::string key = real;
  std::free(real);
  std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  for (char& c : file) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (file.empty() || file == "." || file == "..") return {};
  return key + (key == "/" ? "" : "/") + file;
}

}  // namespace platform
