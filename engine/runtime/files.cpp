// File number registry over stdio streams.
#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/runtime/error.h"
#include "platform/paths.h"

namespace rt {
namespace {

struct OpenFile {
  std::FILE* fp = nullptr;
  FileMode mode = FileMode::Input;
  int reclen = 128;
  std::string path;
  std::int64_t line = 0;        // the line the last text read took its text from
  bool at_line_start = true;    // the next item read begins a line
};

OpenFile table[kMaxFileNumber + 1];

OpenFile* slot(int n) {
  if (n < 1 || n > kMaxFileNumber || !table[n].fp) {
    raise(52);
    return nullptr;
  }
  return &table[n];
}

// An open file that can be read as text (54 for one opened for writing).
OpenFile* reader(int n) {
  OpenFile* f = slot(n);
  if (f && (f->mode == FileMode::Output || f->mode == FileMode::Append)) {
    raise(54);
    return nullptr;
  }
  return f;
}

int errno_to_error(int e) {
  switch (e) {
    case ENOENT: return 53;
    case EACCES:
    case EPERM:
    case EROFS: return 70;
    case ENOSPC: return 61;
    case EISDIR: return 75;
    case EMFILE:
    case ENFILE: return 67;
    default: return 75;
  }
}

}  // namespace

int FREEFILE() {
  for (int n = 1; n <= kMaxFileNumber; ++n)
    if (!table[n].fp) return n;
  return 0;
}

bool open_file(int n, std::string_view name, FileMode mode, int reclen) {
  if (n < 1 || n > kMaxFileNumber) {
    raise(52);
    return false;
  }
  if (table[n].fp) {
    raise(55);
    return false;
  }
  if (name.empty()) {
    raise(mode == FileMode::Input ? 53 : 64);
    return false;
  }
  platform::MappedPath m =
      mode == FileMode::Input ? platform::map_existing(name) : platform::map_for_create(name);
  if (m.error) {
    raise(m.error);
    return false;
  }
  std::error_code ec;
  if (std::filesystem::is_directory(m.path, ec)) {
    raise(75);
    return false;
  }
  const char* how = "rb";
  switch (mode) {
    case FileMode::Input: how = "rb"; break;
    case FileMode::Output: how = "wb"; break;
    case FileMode::Append: how = "ab"; break;
    case FileMode::Binary:
    case FileMode::Random: how = std::filesystem::exists(m.path, ec) ? "r+b" : "w+b"; break;
  }
  std::FILE* fp = std::fopen(m.path.c_str(), how);
  if (!fp && (mode == FileMode::Binary || mode == FileMode::Random)) fp = std::fopen(m.path.c_str(), "rb");
  if (!fp) {
    raise(errno_to_error(errno));
    return false;
  }
  table[n] = OpenFile{fp, mode, reclen > 0 ? reclen : 128, m.path};
  return true;
}

bool is_open(int n) { return n >= 1 && n <= kMaxFileNumber && table[n].fp; }

FileMode file_mode(int n) { return is_open(n) ? table[n].mode : FileMode::Input; }

std::string file_path(int n) { return is_open(n) ? table[n].path : std::string(); }

void close_file(int n) {
  if (n < 1 || n > kMaxFileNumber || !table[n].fp) return;
  std::fclose(table[n].fp);
  table[n] = OpenFile{};
}

void close_all() {
  for (int n = 1; n <= kMaxFileNumber; ++n) close_file(n);
}

bool line_input(int n, std::string& line) {
  OpenFile* f = reader(n);
  if (!f) return false;
  int c = std::fgetc(f->fp);
  if (c == EOF) {
    raise(62);
    return false;
  }
  ++f->line;
  f->at_line_start = true;
  std::string out;
  while (c != EOF) {
    if (c == '\n') break;
    if (c == '\r') {
      int d = std::fgetc(f->fp);
      if (d != '\n' && d != EOF) std::ungetc(d, f->fp);
      break;
    }
    out += static_cast<char>(c);
    c = std::fgetc(f->fp);
  }
  line = std::move(out);
  return true;
}

bool input_item(int n, std::string& item) {
  OpenFile* f = reader(n);
  if (!f) return false;
  int c = std::fgetc(f->fp);
  while (c == ' ') c = std::fgetc(f->fp);
  if (c == EOF) {
    raise(62);
    return false;
  }
  if (f->at_line_start) ++f->line;
  f->at_line_start = false;
  std::string out;
  bool quoted = c == '"';
  if (quoted) {
    c = std::fgetc(f->fp);
    while (c != EOF && c != '"') {
      out += static_cast<char>(c);
      c = std::fgetc(f->fp);
    }
    if (c == '"') c = std::fgetc(f->fp);
  }
  // Up to the comma or line end: the item's text, or what follows a closing quote (dropped).
  while (c != EOF && c != ',' && c != '\r' && c != '\n') {
    if (!quoted) out += static_cast<char>(c);
    c = std::fgetc(f->fp);
  }
  if (c == '\r') {
    int d = std::fgetc(f->fp);
    if (d != '\n' && d != EOF) std::ungetc(d, f->fp);
  }
  if (c == '\r' || c == '\n') f->at_line_start = true;
  item = std::move(out);
  return true;
}

std::int64_t line_number(int n) { return is_open(n) ? table[n].line : 0; }

bool at_eof(int n) {
  OpenFile* f = slot(n);
  if (!f) return true;
  int c = std::fgetc(f->fp);
  if (c == EOF) return true;
  std::ungetc(c, f->fp);
  return false;
}

std::int64_t LOF(int n) {
  OpenFile* f = slot(n);
  if (!f) return 0;
  std::fflush(f->fp);
  long here = std::ftell(f->fp);
  std::fseek(f->fp, 0, SEEK_END);
  long size = std::ftell(f->fp);
  std::fseek(f->fp, here, SEEK_SET);
  return size;
}

bool print_line(int n, std::string_view text, bool newline) {
  OpenFile* f = slot(n);
  if (!f) return false;
  if (f->mode == FileMode::Input) {
    raise(54);
    return false;
  }
  bool ok = std::fwrite(text.data(), 1, text.size(), f->fp) == text.size();
  if (newline) ok = ok && std::fwrite("\r\n", 1, 2, f->fp) == 2;
  if (!ok) {
    raise(errno == ENOSPC ? 61 : 57);
    return false;
  }
  return true;
}

std::int64_t SEEK(int n) {
  OpenFile* f = slot(n);
  if (!f) return 0;
  return std::ftell(f->fp) + 1;
}

void seek(int n, std::int64_t position) {
  OpenFile* f = slot(n);
  if (!f) return;
  if (position < 1) {
    raise(63);
    return;
  }
  std::fseek(f->fp, static_cast<long>(position - 1), SEEK_SET);
}

std::string get_bytes(int n, std::size_t count) {
  OpenFile* f = slot(n);
  if (!f) return {};
  std::string buf(count, '\0');
  size_t got = std::fread(buf.data(), 1, count, f->fp);
  buf.resize(got);
  return buf;
}

bool put_bytes(int n, std::string_view bytes) {
  OpenFile* f = slot(n);
  if (!f) return false;
  if (f->mode == FileMode::Input) {
    raise(54);
    return false;
  }
  // Between a read and a write the stream position must be set again.
  std::fseek(f->fp, std::ftell(f->fp), SEEK_SET);
  if (std::fwrite(bytes.data(), 1, bytes.size(), f->fp) != bytes.size()) {
    raise(errno == ENOSPC ? 61 : 57);
    return false;
  }
  std::fflush(f->fp);
  return true;
}

bool get_record(int n, std::int64_t record, std::string& data) {
  OpenFile* f = slot(n);
  if (!f) return false;
  if (record < 1) {
    raise(63);
    return false;
  }
  std::fseek(f->fp, static_cast<long>((record - 1) * f->reclen), SEEK_SET);
  std::string buf(static_cast<size_t>(f->reclen), '\0');
  size_t got = std::fread(buf.data(), 1, buf.size(), f->fp);
  // A record past the end reads as zero bytes, as in the language.
  (void)got;
  data = std::move(buf);
  return true;
}

bool put_record(int n, std::int64_t record, std::string_view data) {
  OpenFile* f = slot(n);
  if (!f) return false;
  if (record < 1) {
    raise(63);
    return false;
  }
  std::string buf(data.substr(0, static_cast<size_t>(f->reclen)));
  buf.resize(static_cast<size_t>(f->reclen), '\0');
  std::fseek(f->fp, static_cast<long>((record - 1) * f->reclen), SEEK_SET);
  if (std::fwrite(buf.data(), 1, buf.size(), f->fp) != buf.size()) {
    raise(errno == ENOSPC ? 61 : 57);
    return false;
  }
  std::fflush(f->fp);
  return true;
}

int record_length(int n) { return is_open(n) ? table[n].reclen : 0; }

bool file_exists(std::string_view name) {
  if (name.empty()) return false;
  platform::MappedPath m = platform::map_existing(name);
  std::error_code ec;
  return m.error == 0 && std::filesystem::is_regular_file(m.path, ec);
}

bool kill_file(std::string_view name) {
  platform::MappedPath m = platform::map_existing(name);
  if (m.error) {
    raise(m.error);
    return false;
  }
  std::error_code ec;
  if (!std::filesystem::remove(m.path, ec)) {
    raise(ec ? errno_to_error(ec.value()) : 53);
    return false;
  }
  return true;
}

std::vector<std::string> DIR(std::string_view mask) {
  std::vector<std::string> names;
  for (const auto& e : platform::list_matching(mask))
    if (!e.folder) names.push_back(e.name);
  return names;
}

bool rename_file(std::string_view from, std::string_view to) {
  platform::MappedPath a = platform::map_existing(from);
  if (a.error) {
    raise(a.error);
    return false;
  }
  platform::MappedPath b = platform::map_for_create(to);
  if (b.error) {
    raise(b.error);
    return false;
  }
  std::error_code ec;
  if (std::filesystem::exists(b.path, ec)) {
    raise(58);
    return false;
  }
  std::filesystem::rename(a.path, b.path, ec);
  if (ec) {
    raise(ec.value() == EXDEV ? 74 : errno_to_error(ec.value()));
    return false;
  }
  return true;
}

bool copy_file(std::string_view from, std::string_view to) {
  platform::MappedPath a = platform::map_existing(from);
  if (a.error) {
    raise(a.error);
    return false;
  }
  platform::MappedPath b = platform::map_for_create(to);
  if (b.error) {
    raise(b.error);
    return false;
  }
  std::error_code ec;
  std::filesystem::copy_file(a.path, b.path, std::filesystem::copy_options::overwrite_existing, ec);
  if (ec) {
    raise(errno_to_error(ec.value()));
    return false;
  }
  return true;
}

bool make_folder(std::string_view name) {
  platform::MappedPath m = platform::map_for_create(name);
  if (m.error) {
    raise(m.error);
    return false;
  }
  std::error_code ec;
  if (!std::filesystem::create_directory(m.path, ec)) {
    raise(ec ? errno_to_error(ec.value()) : 75);
    return false;
  }
  return true;
}

bool file_times(std::string_view name, FileTimes& times) {
  if (name.empty() || name.find_first_of("*?") != std::string_view::npos) {
    raise(64);
    return false;
  }
  platform::MappedPath m = platform::map_existing(name);
  if (m.error) {
    raise(m.error);
    return false;
  }
  struct statx sx {};
  if (statx(AT_FDCWD, m.path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) {
    raise(errno_to_error(errno));
    return false;
  }
  times.written = platform::local_time(sx.stx_mtime.tv_sec);
  times.accessed = platform::local_time(sx.stx_atime.tv_sec);
  times.created = (sx.stx_mask & STATX_BTIME) ? platform::local_time(sx.stx_btime.tv_sec) : times.written;
  times.folder = S_ISDIR(sx.stx_mode);
  return true;
}

}  // namespace rt
