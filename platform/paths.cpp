// Path mapping: drive letters, both separators, case-insensitive match of existing names.
#include "paths.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace platform {
namespace {

bool equal_nocase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
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

// Finds an entry of a folder by name: the exact name first, then any name equal without regard to case.
bool find_entry(const fs::path& folder, const std::string& part, fs::path& out) {
  std::error_code ec;
  fs::path exact = folder / part;
  if (part == "..") {
    out = exact;
    return fs::exists(exact, ec);
  }
  if (fs::exists(fs::symlink_status(exact, ec))) {
    out = exact;
    return true;
  }
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
  if (ec) return false;
  for (; it != end; it.increment(ec)) {
    if (ec) break;
    std::string n = it->path().filename().string();
    if (equal_nocase(n, part)) {
      out = folder / n;
      return true;
    }
  }
  return false;
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
  for (size_t k = 0; k < s.parts.size(); ++k) {
    bool last = k + 1 == s.parts.size();
    fs::path found;
    if (find_entry(cur, s.parts[k], found)) {
      cur = found;
      continue;
    }
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

// True when name matches the wildcard mask ("*" any run, "?" one character), letter case ignored.
bool wild_match(std::string_view mask, std::string_view name) {
  size_t m = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      star = m++;
      resume = n;
    } else if (m < mask.size() &&
               (mask[m] == '?' || std::tolower(static_cast<unsigned char>(mask[m])) ==
                                      std::tolower(static_cast<unsigned char>(name[n])))) {
      ++m;
      ++n;
    } else if (star != std::string_view::npos) {
      m = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

std::vector<FolderEntry> list_matching(std::string_view mask) {
  std::vector<FolderEntry> out;
  const std::string_view folder = folder_part(mask);
  const std::string_view pattern = file_part(mask);
  fs::path dir = ".";
  if (!folder.empty()) {
    MappedPath m = map_existing(folder);
    if (m.error) return out;
    dir = m.path;
  }
  std::error_code ec;
  fs::directory_iterator it(dir, ec), end;
  if (ec) return out;
  for (; it != end; it.increment(ec)) {
    if (ec) break;
    std::string n = it->path().filename().string();
    if (!wild_match(pattern, n)) continue;
    std::error_code ec2;
    out.push_back({n, it->is_directory(ec2)});
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

}  // namespace platform
