// The engine folder and the engine's version text.
#include "version.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>

#include "modgeneral.h"
#include "platform/paths.h"

namespace quorvel {

namespace {

// The order of a character in a text comparison: signs and punctuation, then digits, then letters
// (either case), then the characters above 127.
int collation_key(unsigned char c) {
  int lower = std::tolower(c);
  int group = c >= 128 ? 3 : std::isalpha(c) ? 2 : std::isdigit(c) ? 1 : 0;
  return group * 256 + lower;
}

}  // namespace

int CompareVersionText(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int x = collation_key(static_cast<unsigned char>(a[i]));
    int y = collation_key(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

namespace {

// A file mapped into memory and read as the scans below go through it: a buffer that is always one
// stretch [begin, end) of the file, filled in blocks of 256 bytes from a 1-based byte position, each
// new block joined to the last 10 bytes of the buffer before it (so a word split across two blocks is
// still found). Mapping, not copying, keeps a scan of a large program file fast.
class BlockScan {
 public:
  explicit BlockScan(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      error_ = std::strerror(errno);
      return;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0) {
      void* m = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
      if (m == MAP_FAILED)
        error_ = std::strerror(errno);
      else
        data_ = std::string_view(static_cast<const char*>(m), static_cast<size_t>(st.st_size));
    }
    ::close(fd);
  }
  ~BlockScan() {
    if (!data_.empty()) ::munmap(const_cast<char*>(data_.data()), data_.size());
  }
  BlockScan(const BlockScan&) = delete;
  BlockScan& operator=(const BlockScan&) = delete;

  const std::string& error() const { return error_; }
  bool at_end() const { return end_ >= data_.size(); }
  std::string_view buffer() const { return data_.substr(begin_, end_ - begin_); }
  // The buffer becomes the block at a 1-based position.
  void read_at(size_t position) {
    begin_ = std::min(position - 1, data_.size());
    end_ = std::min(begin_ + 256, data_.size());
  }
  // The buffer becomes its last 10 bytes followed by the next block.
  void next() {
    begin_ = end_ - std::min<size_t>(10, end_ - begin_);
    end_ = std::min(end_ + 256, data_.size());
  }
  // Goes on with next() until the buffer reaches the byte before offset `until` (or the end), without
  // looking at the blocks passed over.
  void next_until(size_t until) {
    while (end_ < until && !at_end()) next();
  }
  // Where "701" or "702" first occurs from the buffer's start on (the file's size when neither does).
  size_t first_version_digits() const {
    const char* d = data_.data();
    for (size_t i = begin_; i + 2 < data_.size(); ++i)
      if (d[i] == '7' && d[i + 1] == '0' && (d[i + 2] == '1' || d[i + 2] == '2')) return i;
    return data_.size();
  }
  // The buffer loses its first n bytes.
  void drop(size_t n) { begin_ = std::min(begin_ + n, end_); }

 private:
  std::string error_;
  std::string_view data_;
  size_t begin_ = 0, end_ = 0;
};

std::string version_from_menu_file(const std::string& path) {
  BlockScan f(path);
  if (!f.error().empty()) return "<" + f.error() + ">";
  f.read_at(46500);
  while (f.buffer().find("Version ") == std::string_view::npos && !f.at_end()) f.next();
  std::string_view buffer = f.buffer();
  size_t p = buffer.find("Version ");
  return p == std::string_view::npos ? "(not found)" : std::string(buffer.substr(p + 8, 4));
}

std::string version_from_program(const std::string& path) {
  BlockScan f(path);
  if (!f.error().empty()) return "<" + f.error() + ">";
  f.read_at(710000);
  bool second_pass = false;
  for (;;) {
    std::string_view buffer = f.buffer();
    size_t p = buffer.find("701");
    if (p == std::string_view::npos) p = buffer.find("702");
    if (p == std::string_view::npos && !f.at_end()) {
      // Blocks without either text change nothing: pass over them to the one that holds the next.
      f.next_until(f.first_version_digits() + 3);
      continue;
    }
    if (p == std::string_view::npos) {
      // The end of the file without a version: once more from byte 46500, then give up. Each pass
      // reads forward to the end of the file at most once.
      if (second_pass) return "<7000 not found>";
      second_pass = true;
      f.read_at(46500);
      continue;
    }
    std::string_view rest = buffer.substr(p);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    size_t digits = 0;
    while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits]))) ++digits;
    if (digits >= 4) return std::string(rest.substr(0, digits));
    // Too short a run ("0701x"): go on after it.
    f.drop(buffer.find(rest.substr(0, digits)) + 3);
  }
}

}  // namespace

std::string GetEngineVersion(std::string& folder) {
  folder = WithFinalSeparator(folder);
  std::string menu = folder + "PROMENU.TBC";
  if (Exists(menu)) return version_from_menu_file(platform::map_existing(menu).path);
  std::string program = folder + kEngineProgram;
  if (!Exists(program)) return "NOT found";
  return version_from_program(platform::map_existing(program).path);
}

std::string GetEngineVersion(const std::string& folder) {
  std::string copy = folder;
  return GetEngineVersion(copy);
}

std::string DisplayFolder(const std::string& name) {
  platform::MappedPath m = platform::map_existing(name);
  if (m.error) m = platform::map_for_create(name);  // a folder still to be made (the output folder)
  if (m.error) return WithFinalSeparator(name);
  std::string s = ShortPath(m.path);
  return WithFinalSeparator(s.empty() ? m.path : s);
}

namespace {

struct Found {
  std::string list;
  std::string highest;
  bool any = false;
};

void add_found(Found& f, const std::string& folder, bool newest_first) {
  std::string version = GetEngineVersion(folder);
  if (version == "NOT found") return;
  f.any = true;
  std::string line = "\n" + folder + "\tVersion " + version;
  if (newest_first && CompareVersionText(version, f.highest) >= 0) {
    f.list = line + f.list;
    f.highest = version;
  } else {
    f.list += line;
  }
}

}  // namespace

bool CheckInstalled(const std::string& /*filter*/, const Ports& ports) {
  WindowHost fallback;
  WindowHost& host = ports.host ? *ports.host : fallback;
  // The vlx?000 folders of drive C:, which is the home folder unless VLX_DRIVE_C names another.
  std::string c_root = DisplayFolder("C:\\");
  std::string where = c_root + "vlxX000";
  std::string kept_caption = host.caption();
  host.set_busy(true);
  host.set_caption("Quorvel - Searching " + where + " folders...");
  Found found;
  for (const platform::FolderEntry& e : platform::list_matching("C:\\vlx?000*"))
    if (e.folder) add_found(found, c_root + e.name + "/", true);
  bool result = found.any;
  host.set_caption("Quorvel - Finished Searching");
  host.set_busy(false);
  std::string text = found.list.empty() ? "No Veltrax exists on a " + where + " folder on this PC."
                                        : "On " + where + " folders on this PC, you have:\n" + found.list;
  const std::string question = "\n\nDo you want to search ALL top-level folders on drive letters you specify?";
  text += question;
  while (ports.msgbox &&
         ports.msgbox->show({text, Buttons::YesNo, Icon::Question, "Search more Locations or Drives?"}) == Answer::Yes) {
    if (!ports.inputbox) break;
    std::optional<std::string> letters = ports.inputbox->ask(
        "Search ALL top-level folders on which Drive Letters?\nNB: This could take a long time!\n"
        "Lower level folders are excluded.",
        "Drives to Search for Veltrax:", "CDEFGHIJKLMNOPQRSTUVWXYZ");
    if (!letters || letters->empty()) break;
    host.set_busy(true);
    host.set_caption("Quorvel - Searching top-level folders...");
    Found drives;
    for (char letter : *letters) {
      if (!std::isalpha(static_cast<unsigned char>(letter))) continue;
      std::string drive = std::string(1, letter) + ":\\";
      platform::MappedPath root = platform::map_existing(drive);
      if (root.error) continue;  // a letter that maps to no folder
      std::string native_root = DisplayFolder(drive);
      for (const platform::FolderEntry& e : platform::list_matching(drive + "*"))
        if (e.folder) add_found(drives, native_root + e.name + "/", false);
    }
    host.set_caption("Quorvel - Finished Searching");
    host.set_busy(false);
    if (drives.any) {
      result = true;
      text = "On top-level folders on the drives you specified, you have:\n" + drives.list;
    } else {
      text = "No Veltrax exists on any top-level folders on the drives you specified.";
    }
    text += question;
  }
  host.set_busy(false);
  host.set_caption(kept_caption);
  return result;
}

}  // namespace quorvel
