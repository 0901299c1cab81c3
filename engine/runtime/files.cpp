// File number registry: buffered files over the system's file descriptors.
//
// Each open file keeps the pages of it that were read or written (kPage bytes each) with the range of
// each page changed since it was last written out. Reads, writes and seeks inside those pages cost no
// system call; a page that is not held is read together with the pages after it that are not held
// either (up to kReadAhead). The changes go to disk in the order of their positions, those that
// follow each other without a gap in one call, when the file is closed (the engine's work files
// excepted: see WorkFile), when too many pages are held, before an operation by name that reads the
// file (a copy, its time stamps), and at the end of the process (exit() included, so an untrapped
// error that ends the run leaves every file complete). Files of a write-only mode are never read:
// their pages only collect what is written. A file that is open under two numbers at once is not
// buffered at all, so that each number sees what the other wrote. The descriptors of the last files
// closed stay open for the next open of the same name (see Parked).
#include "files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <system_error>
#include <utility>

#include "engine/runtime/command.h"
#include "engine/runtime/error.h"
#include "platform/paths.h"
#include "platform/wholefile.h"

namespace rt {
namespace {

constexpr std::int64_t kPage = 16384;
constexpr std::size_t kMaxPages = 16;   // held per file (256 KiB); beyond, written out and dropped
constexpr std::size_t kSparePages = 8;   // kept for reuse once their files let them go
constexpr int kMaxRun = 16;              // pages written out in one call
constexpr int kReadAhead = 8;            // pages read in one call

// Page buffers that files let go, kept for the next pages, so that the many short-lived files of a
// run (four work channels and a coded hole file per hole) do not make the heap grow and shrink.
// Defined before the registry, so that it outlives it at the end of the process.
std::vector<std::unique_ptr<char[]>> spare_pages;

std::unique_ptr<char[]> new_page() {
  if (spare_pages.empty()) return std::make_unique_for_overwrite<char[]>(kPage);
  std::unique_ptr<char[]> p = std::move(spare_pages.back());
  spare_pages.pop_back();
  return p;
}

void give_back(std::unique_ptr<char[]> p) {
  if (p && spare_pages.size() < kSparePages) spare_pages.push_back(std::move(p));
}

// The bytes of one open file: its descriptor, its length with the bytes not yet written, and the pages
// touched. Every function keeps errno of a failed write in `failed` for the caller to report.
class FileData {
 public:
  int fd = -1;
  bool readable = false, writable = false;
  bool direct = false;  // open under another number too: every access goes straight to the disk
  std::int64_t size = 0;
  std::int64_t pos = 0;  // current position, from 0
  int failed = 0;        // errno of a write that failed, until reported
  int read_failed = 0;   // errno of a read that failed (what follows reads as the end or as zeros)
  bool borrowed = false;  // the descriptor belongs to a new file (platform::NewFile), which closes it
  // The file on disk as last seen here: its change time (nanoseconds) while known; a write of this
  // file makes it unknown (finding it out again would cost a call for every write).
  std::int64_t disk_mtime = 0;
  bool mtime_known = false;

  FileData() = default;
  FileData(const FileData&) = delete;
  FileData& operator=(const FileData&) = delete;
  ~FileData() { close(); }

  // Bytes at `at`, as many as lie in one page and the file: a view valid until the next call.
  std::string_view view(std::int64_t at) {
    if (direct && pages_.empty()) length();  // another number may have changed it
    if (!readable || at >= size || at < 0) return {};
    Page* p = page(at / kPage);
    if (!p) return {};
    const std::int64_t off = at % kPage;
    return {p->bytes.get() + off, static_cast<std::size_t>(std::min(kPage - off, size - at))};
  }

  // Appends up to n bytes from `at` to out; returns how many there were.
  std::size_t read(std::int64_t at, std::string& out, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
      const std::string_view v = view(at + static_cast<std::int64_t>(done));
      if (v.empty()) break;
      const std::size_t k = std::min(v.size(), n - done);
      out.append(v.data(), k);
      done += k;
    }
    settle();
    return done;
  }

  // Bytes at `at` that lie inside the page used last, written there without more ado when they may
  // be (what write would do with them); false when write must take them.
  bool write_here(std::int64_t at, const char* in, std::size_t n) {
    if (!last_ || direct || failed || !writable || at < 0 || at / kPage != last_index_) return false;
    const std::int64_t off = at % kPage, end = off + static_cast<std::int64_t>(n);
    Page& p = *last_;
    if (end > kPage || (!readable && p.hi > p.lo && (off > p.hi || end < p.lo))) return false;
    std::memcpy(p.bytes.get() + off, in, n);
    p.lo = std::min(p.lo, off);
    p.hi = std::max(p.hi, end);
    size = std::max(size, at + static_cast<std::int64_t>(n));
    return true;
  }

  bool write(std::int64_t at, const char* in, std::size_t n) {
    if (write_here(at, in, n)) return true;
    if (!writable) {
      failed = EBADF;
      return false;
    }
    std::size_t done = 0;
    while (done < n && !failed) {
      const std::int64_t here = at + static_cast<std::int64_t>(done);
      const std::int64_t off = here % kPage;
      const auto k = static_cast<std::size_t>(std::min<std::int64_t>(kPage - off, static_cast<std::int64_t>(n - done)));
      Page* p = page(here / kPage);
      if (!p) break;
      // A write-only page holds just the bytes written; one range only, so a second range apart
      // from the first sends the first to disk.
      if (!readable && p->hi > p->lo && (off > p->hi || off + static_cast<std::int64_t>(k) < p->lo) &&
          !write_out(here / kPage, *p))
        break;
      std::memcpy(p->bytes.get() + off, in + done, k);
      p->lo = std::min<std::int64_t>(p->lo, off);
      p->hi = std::max<std::int64_t>(p->hi, off + static_cast<std::int64_t>(k));
      done += k;
      size = std::max(size, here + static_cast<std::int64_t>(k));
    }
    settle();
    return done == n && !failed;
  }

  // Writes every change out, in the order of the positions: changes that follow each other without a
  // gap (a file written from its start, page after page) in one call. False when a write failed.
  bool flush() {
    for (auto it = pages_.begin(); it != pages_.end();) {
      iovec run[kMaxRun];
      int count = 0;
      const std::int64_t start = it->first * kPage + it->second.lo;
      std::int64_t end = start;
      auto first = it;
      while (it != pages_.end() && count < kMaxRun) {
        Page& p = it->second;
        const std::int64_t base = it->first * kPage;
        if (p.hi <= p.lo || base + p.lo != end) break;
        // Never beyond the length: a page of a file that was emptied since may hold more.
        const std::int64_t to = std::min(base + p.hi, size);
        if (to > end) run[count++] = {p.bytes.get() + p.lo, static_cast<std::size_t>(to - end)};
        end = std::max(end, to);
        ++it;
        if (p.hi != kPage) break;  // the changes end inside this page
      }
      if (it == first) {  // nothing changed in this page
        ++it;
        continue;
      }
      if (!write_run(run, count, start)) return false;
      for (auto done = first; done != it; ++done) done->second.lo = kPage, done->second.hi = 0;
      mtime_known = false;
    }
    return !failed;
  }

  // Forgets the changes not yet written (of a file that is about to be deleted).
  void discard() {
    for (auto& [index, p] : pages_) p.lo = kPage, p.hi = 0;
  }

  // Writes the changes out and forgets the pages, so that the next access reads the disk again.
  bool drop() {
    const bool ok = flush();
    for (auto& [index, p] : pages_) give_back(std::move(p.bytes));
    pages_.clear();
    last_ = nullptr;
    return ok;
  }

  // The length of the file with the changes not yet written (for a file open under two numbers, as
  // the disk has it now).
  std::int64_t length() {
    if (!direct) return size;
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0) size = std::max<std::int64_t>(st.st_size, 0);
    return size;
  }

  // After an access of a file that is open under two numbers: nothing stays behind in memory.
  void settle() {
    if (direct) drop();
  }

  // Forgets the pages and takes the length from the disk again (after the file was replaced).
  bool reload() {
    const bool ok = drop();
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0) size = st.st_size;
    return ok;
  }

  std::size_t pages_held() const { return pages_.size(); }

  bool close() {
    if (fd < 0) return true;
    const bool ok = drop();
    if (!borrowed) ::close(fd);
    fd = -1;
    return ok;
  }

 private:
  struct Page {
    std::unique_ptr<char[]> bytes;
    std::int64_t lo = kPage, hi = 0;  // the bytes changed since the page was last written out
  };
  std::map<std::int64_t, Page> pages_;
  // The page used last (most accesses fall into the page of the one before): no search of the map.
  std::int64_t last_index_ = -1;
  Page* last_ = nullptr;

  Page* page(std::int64_t index) {
    if (last_ && last_index_ == index) return last_;
    if (auto it = pages_.find(index); it != pages_.end()) {
      last_index_ = index, last_ = &it->second;
      return last_;
    }
    if (direct && pages_.empty()) length();  // another number may have changed it
    if (pages_.size() >= kMaxPages && !drop()) return nullptr;
    Page& p = pages_[index];
    p.bytes = new_page();
    last_index_ = index, last_ = &p;
    if (!readable) return &p;  // only what is written here counts: nothing to read first
    const std::int64_t start = index * kPage;
    // The pages of the file that follow and are not held yet come with it, in the same call (a file
    // is mostly read from its start to its end).
    Page* run[kReadAhead] = {&p};
    int count = 1;
    if (!direct)
      while (count < kReadAhead && pages_.size() < kMaxPages && (index + count) * kPage < size &&
             !pages_.contains(index + count)) {
        Page& next = pages_[index + count];
        next.bytes = new_page();
        run[count++] = &next;
      }
    std::size_t got = 0;
    if (start < size) {
      const auto want = static_cast<std::size_t>(std::min(kPage * count, size - start));
      while (got < want) {
        iovec iov[kReadAhead];
        int n = 0;
        for (std::size_t at = got; at < want && n < count; ++n) {
          const std::size_t in = at % static_cast<std::size_t>(kPage);
          const std::size_t len = std::min(static_cast<std::size_t>(kPage) - in, want - at);
          iov[n] = {run[at / static_cast<std::size_t>(kPage)]->bytes.get() + in, len};
          at += len;
        }
        const ssize_t r = ::preadv(fd, iov, n, start + static_cast<std::int64_t>(got));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0 && !read_failed) read_failed = errno;
        if (r <= 0) break;
        got += static_cast<std::size_t>(r);
      }
      // A file only read that came out shorter was cut by someone else: it ends there.
      if (!writable && got < want) size = start + static_cast<std::int64_t>(got);
    }
    constexpr auto page_size = static_cast<std::size_t>(kPage);
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {  // past the end: zeros
      const std::size_t filled = std::min(got - std::min(got, page_size * i), page_size);
      std::memset(run[i]->bytes.get() + filled, 0, page_size - filled);
    }
    return &p;
  }

  // The bytes of run (count pieces) at `at`, one after another.
  bool write_run(iovec* run, int count, std::int64_t at) {
    int i = 0;
    while (i < count) {
      const ssize_t r = ::pwritev(fd, run + i, count - i, at);
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) {
        failed = r < 0 ? errno : ENOSPC;
        return false;
      }
      at += r;
      for (auto left = static_cast<std::size_t>(r); left > 0;) {
        if (left >= run[i].iov_len) {
          left -= run[i].iov_len;
          ++i;
        } else {
          run[i].iov_base = static_cast<char*>(run[i].iov_base) + left;
          run[i].iov_len -= left;
          left = 0;
        }
      }
    }
    return true;
  }

  bool write_out(std::int64_t index, Page& p) {
    // Never beyond the length: a page of a file that was emptied since may hold more.
    const std::int64_t start = index * kPage;
    const std::int64_t hi = std::min(p.hi, size - start);
    std::int64_t at = p.lo;
    while (at < hi) {
      const ssize_t r = ::pwrite(fd, p.bytes.get() + at, static_cast<std::size_t>(hi - at), start + at);
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) {
        failed = r < 0 ? errno : ENOSPC;
        return false;
      }
      at += r;
    }
    p.lo = kPage;
    p.hi = 0;
    mtime_known = false;
    return true;
  }
};

struct OpenFile {
  std::unique_ptr<platform::NewFile> whole;  // a file written whole: the new file (outlives data)
  std::unique_ptr<FileData> data;
  FileMode mode = FileMode::Input;
  int reclen = 128;
  std::string path;
  std::int64_t line = 0;        // the line the last text read took its text from
  bool at_line_start = true;    // the next item read begins a line
  dev_t dev = 0;
  ino_t ino = 0;
  std::string name;  // a new file: its target as the engine named it, for messages
  std::string given;  // the name the file was opened by (a kept file is found again by it)
  bool work = false;  // one of the engine's own work files (held at its close, see WorkFile)
  bool quiet = false;  // a new file whose failure its caller says (open_new_file with failure)
  bool engine = false;  // a file of the engine folder the run needs whole (engine_file)
};

// Files closed lately in a mode that neither empties nor appends, kept open with the pages read, for
// the next open of the same name: the stages of a run open and close the same small data files
// (symbol library, scales, logo) for every hole, and opening a file, or reading it again, costs the
// system far more than checking that the name still leads to the same, unchanged file. A closed
// file's changes are on disk (the close wrote them); only clean pages are kept, at most kParkedPages
// of a file and kParkedPagesInAll of all of them (the files kept longest give theirs up first). To the
// engine such a file is closed (CLOSE without numbers keeps them too); the system closes them when the
// process ends.
//
// The next open of the name looks it up (one call) and takes the kept file back only when the name
// still leads to it (device and inode): with its pages when its length and change time are those seen
// last and this process has not written it since, else read again through the same descriptor. Any
// other file under the name is opened anew. Every operation by name of the engine on the file (delete,
// rename, replace, an open that empties it) lets the kept file go.
struct Parked {
  std::unique_ptr<FileData> data;
  int access;  // O_RDONLY or O_RDWR
  dev_t dev;
  ino_t ino;
  std::string path;  // native
  std::string name;  // as the engine named it
};
constexpr std::size_t kMaxParked = 16;
constexpr std::size_t kParkedPages = 4;
constexpr std::size_t kParkedPagesInAll = 16;
std::vector<Parked> parked;

std::int64_t mtime_of(const struct stat& st) {
  return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// The engine's own work files (hold_work_files): the files the engine writes for itself in the engine
// folder during a run and reads back in a later stage of the same run. While this process holds the
// engine folder's lock no other run touches them, so a closed work file is held here whole, with its
// descriptor, its pages and its changes not yet written: the next open of its name takes it back with
// no call of the system (no lookup, no read), and its changes reach the disk only where something reads
// it from there: an operation by name of the engine on that file (a copy, a rename, its time stamps,
// a file put in its place or opened under another spelling of its name), the end of the holding
// (let_go_work_files), and the end of the process for a file still there. A delete forgets the changes.
struct WorkFile {
  std::string name;                // as the engine names it
  std::unique_ptr<FileData> data;  // the file while closed (none: not opened yet, or open under a number)
  dev_t dev = 0;
  ino_t ino = 0;
  std::string path;  // native
};
void report_failed_write(FileData& d);

bool folder_locked = false;  // this process holds the engine folder's lock
int lock_fd = -1;            // the descriptor that holds it
std::vector<WorkFile> work_files;

WorkFile* work_file(std::string_view name) {
  for (auto& w : work_files)
    if (w.name == name) return &w;
  return nullptr;
}

// The held work file is written out and closed (to be read or replaced by name); the next open of its
// name opens it anew.
void let_go(WorkFile& w) {
  if (!w.data) return;
  if (!w.data->close()) report_failed_write(*w.data);
  w.data.reset();
}

// Lets the held work file at a native path go (written out, to be read or replaced by name).
void unpark_work(const std::string& path) {
  for (auto& w : work_files)
    if (w.data && w.path == path) let_go(w);
}

// Lets the kept files of a native path go (before the file is deleted, renamed, replaced or emptied).
void unpark(const std::string& path) {
  std::erase_if(parked, [&](const Parked& p) { return p.path == path; });
  unpark_work(path);
}

// True when the kept file p is still what its name leads to, as the lookup m of that name saw it. A
// file of the same identity that changed (or was written here since) is kept but forgets its pages.
bool still_named(Parked& p, const platform::MappedPath& m) {
  FileData& d = *p.data;
  struct stat st {};
  if (m.regular) {
    st.st_dev = static_cast<dev_t>(m.device);
    st.st_ino = static_cast<ino_t>(m.inode);
    st.st_size = static_cast<off_t>(m.size);
    st.st_mode = S_IFREG;
    st.st_mtim.tv_sec = static_cast<time_t>(m.mtime_ns / 1000000000);
    st.st_mtim.tv_nsec = static_cast<long>(m.mtime_ns % 1000000000);
  } else if (m.error != 0 || ::stat(m.path.c_str(), &st) != 0) {
    return false;
  }
  if (st.st_dev != p.dev || st.st_ino != p.ino || !S_ISREG(st.st_mode)) return false;
  // Written here since its change time was seen: whether another program changed it after that
  // cannot be told from its length, so its pages are read again.
  if (st.st_size != d.size || !d.mtime_known || mtime_of(st) != d.disk_mtime) {
    d.drop();
    d.size = st.st_size;
  }
  d.disk_mtime = mtime_of(st);
  d.mtime_known = true;
  return true;
}

// The kept file of this name, opened for `access`, when it is still what the name leads to (m: the
// lookup of the name); nullptr when there is none.
std::unique_ptr<FileData> take_parked(std::string_view name, int access, const platform::MappedPath& m) {
  auto it = std::find_if(parked.begin(), parked.end(),
                         [&](const Parked& p) { return p.name == name && p.access == access; });
  if (it == parked.end()) return nullptr;
  if (!still_named(*it, m)) {
    parked.erase(it);  // another file under the name now: this one is let go
    return nullptr;
  }
  std::unique_ptr<FileData> d = std::move(it->data);
  parked.erase(it);
  return d;
}

void park(std::unique_ptr<FileData> d, int access, dev_t dev, ino_t ino, const std::string& path,
          const std::string& name) {
  if (parked.size() >= kMaxParked) parked.erase(parked.begin());
  if (d->pages_held() > kParkedPages) d->drop();
  parked.push_back({std::move(d), access, dev, ino, path, name});
  // The pages of all kept files together stay few: those kept longest go first (their files stay).
  std::size_t held = 0;
  for (const auto& p : parked) held += p.data->pages_held();
  for (auto& p : parked) {
    if (held <= kParkedPagesInAll) break;
    held -= p.data->pages_held();
    p.data->drop();
  }
}

// The registry. Its end (at the end of the process, exit() included) closes what is still open.
struct Registry {
  OpenFile slot[kMaxFileNumber + 1];
  ~Registry() {
    for (auto& f : slot) f.data.reset();
  }
} registry;

OpenFile (&table)[kMaxFileNumber + 1] = registry.slot;

void forget_recent();

OpenFile* slot(int n) {
  forget_recent();
  if (n < 1 || n > kMaxFileNumber || !table[n].data) {
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

// Reports the write that failed on this file (disk full 61, else device I/O error 57).
void report_failed_write(FileData& d) {
  const int e = d.failed;
  d.failed = 0;
  raise(e == ENOSPC ? 61 : 57);
}

// A write to an open file failed: a new file keeps the failure for its commit (and refuses every later
// write), any other file reports it.
void write_failed(OpenFile& f) {
  if (f.whole) f.whole->failed(f.data->failed);
  else report_failed_write(*f.data);
}

// Before an operation by name reads a file from disk: every change of the open files goes there.
void flush_all() {
  for (auto& f : table)
    if (f.data && !f.data->flush()) write_failed(f);
}

// Says that the file name cannot be written, and why; the run ends with exit code 1.
void say_not_written(std::string_view name, int e, bool replaces) {
  fault(std::string(name) + " cannot be written (" + platform::failure_reason(e) + ")" +
            (replaces ? "; the earlier file is kept." : "."),
        {std::string(name)});
}

// The next byte of a file read as text, or -1 at its end.
int next_byte(FileData& d) {
  const std::string_view v = d.view(d.pos);
  if (v.empty()) return -1;
  ++d.pos;
  return static_cast<unsigned char>(v[0]);
}

// The bytes from the position up to the first byte of `stops` (or the end), appended to out; the
// position is left at that byte.
void take_until(FileData& d, std::string_view stops, std::string* out) {
  for (;;) {
    const std::string_view v = d.view(d.pos);
    if (v.empty()) return;
    const std::size_t k = std::min(v.find_first_of(stops), v.size());
    if (out) out->append(v.data(), k);
    d.pos += static_cast<std::int64_t>(k);
    if (k < v.size()) return;
  }
}

// After a CR: an LF that follows belongs to the same line end.
void skip_lf(FileData& d) {
  const std::string_view v = d.view(d.pos);
  if (!v.empty() && v[0] == '\n') ++d.pos;
}

// The lookup of the name that file_exists found a file at last, for the open of that name that
// usually comes straight after it: used only by an open that is the next operation of the engine on
// files (every other one forgets it: an operation by name or on a file number, a close), so that the
// check and the open see the file as one look at it would (a program that changes the file in between
// races with the engine either way).
struct RecentLookup {
  bool valid = false;
  std::string name;
  platform::MappedPath m;
} recent;

void forget_recent() { recent.valid = false; }

// The checks before a file is opened under number n: the number is one of the registry's and free,
// the name is not empty, and it maps to a path (that of an existing file, or where a new one is made).
// False, with the error reported, when one of them fails.
bool checked_path(int n, std::string_view name, bool existing, platform::MappedPath& m) {
  int e = n < 1 || n > kMaxFileNumber ? 52 : table[n].data ? 55 : name.empty() ? (existing ? 53 : 64) : 0;
  if (e == 0) {
    if (recent.valid && recent.name == name) {
      m = std::move(recent.m);
      if (m.free && !existing) m.error = 0;  // a file is made where nothing stands
    } else {
      m = existing ? platform::map_existing(name) : platform::map_for_create(name);
    }
    forget_recent();
    e = m.error;
  }
  if (e != 0) raise(e);
  return e == 0;
}

}  // namespace

int FREEFILE() {
  for (int n = 1; n <= kMaxFileNumber; ++n)
    if (!table[n].data) return n;
  return 0;
}

bool open_file(int n, std::string_view name, FileMode mode, int reclen) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case FileMode::Input: flags |= O_RDONLY; break;
    case FileMode::Output: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    case FileMode::Append: flags |= O_WRONLY | O_CREAT | O_APPEND; break;
    case FileMode::Binary:
    case FileMode::Random: flags |= O_RDWR | O_CREAT; break;
  }
  int access = flags & O_ACCMODE;
  const bool keeps = !(flags & (O_TRUNC | O_APPEND));
  WorkFile* w = work_file(name);
  if (w && w->data) {
    // A held work file is taken back as it is, in a mode that neither empties nor appends to it and
    // does not write a file opened for reading only; any other open writes it out and opens it anew.
    if (keeps && (access == O_RDONLY || w->data->writable)) {
      const int e = n < 1 || n > kMaxFileNumber ? 52 : table[n].data ? 55 : 0;
      if (e != 0) {
        raise(e);
        return false;
      }
      forget_recent();
      std::unique_ptr<FileData> held = std::move(w->data);
      held->pos = 0;
      table[n] = OpenFile{nullptr, std::move(held), mode, reclen > 0 ? reclen : 128, w->path, 0, true, w->dev, w->ino,
                          {}, w->name, true};
      return true;
    }
    let_go(*w);
  }
  std::unique_ptr<FileData> d;
  std::string path;
  dev_t dev = 0;
  ino_t ino = 0;
  struct stat st {};
  {
    platform::MappedPath m;
    if (!checked_path(n, name, mode == FileMode::Input, m)) return false;
    path = m.path;
    if (keeps) d = take_parked(name, access, m);
    unpark(m.path);  // kept under another name, or about to be emptied: let go
    if (d) {
      dev = static_cast<dev_t>(m.inode ? m.device : 0), ino = static_cast<ino_t>(m.inode);
      if (!m.inode) {
        if (::fstat(d->fd, &st) == 0) dev = st.st_dev, ino = st.st_ino;
      }
    } else {
      d = std::make_unique<FileData>();
      d->fd = ::open(m.path.c_str(), flags, 0666);
      // A file that may not be written is still opened for reading in the modes that do both.
      if (d->fd < 0 && (mode == FileMode::Binary || mode == FileMode::Random)) {
        d->fd = ::open(m.path.c_str(), O_RDONLY | O_CLOEXEC);
        access = O_RDONLY;
      }
      if (d->fd < 0) {
        raise(errno_to_error(errno));
        return false;
      }
      if (::fstat(d->fd, &st) != 0) st.st_mode = S_IFDIR;
      if (S_ISDIR(st.st_mode)) {
        raise(75);
        return false;
      }
      d->readable = access != O_WRONLY;
      d->writable = access != O_RDONLY;
      d->size = st.st_size;
      d->disk_mtime = mtime_of(st);
      d->mtime_known = true;
      dev = st.st_dev, ino = st.st_ino;
    }
  }
  d->pos = mode == FileMode::Append ? d->size : 0;
  d->direct = false;
  // A held work file opened by another spelling of its name: what it holds goes to the disk first.
  for (auto& held : work_files)
    if (held.data && held.dev == dev && held.ino == ino) let_go(held);
  // The same file under another number: neither keeps anything in memory from now on.
  for (auto& other : table)
    if (other.data && other.dev == dev && other.ino == ino) {
      if (!other.data->drop()) write_failed(other);
      other.data->direct = true;
      d->drop();
      d->direct = true;
    }
  table[n] = OpenFile{nullptr, std::move(d), mode, reclen > 0 ? reclen : 128, path, 0, true, dev, ino, {}, std::string(name),
                      w != nullptr};
  return true;
}

bool open_new_file(int n, std::string_view name, FileMode mode, std::string* failure) {
  forget_recent();
  platform::MappedPath m;
  if (failure) {
    // Said by the caller: a name that leads nowhere is one more reason.
    const int e = n < 1 || n > kMaxFileNumber ? 52 : table[n].data ? 55 : 0;
    if (e != 0) {
      raise(e);
      return false;
    }
    m = platform::map_for_create(name);
    if (m.error != 0) {
      std::string why = m.error == 76 ? platform::failure_reason(ENOENT) : error_text(m.error);
      if (!why.empty()) why[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(why[0])));
      *failure = why;
      return false;
    }
  } else if (!checked_path(n, name, false, m)) {
    return false;
  }
  auto whole = std::make_unique<platform::NewFile>(m.path, m.free ? m.folder_device : 0);
  if (whole->error() != 0) {
    if (failure) *failure = platform::failure_reason(whole->error());
    else say_not_written(name, whole->error(), whole->replaces());
    return false;
  }
  auto d = std::make_unique<FileData>();
  d->fd = whole->fd();
  d->borrowed = true;
  d->readable = mode != FileMode::Output && mode != FileMode::Append;
  d->writable = true;
  const auto dev = static_cast<dev_t>(whole->device());
  const auto ino = static_cast<ino_t>(whole->inode());
  OpenFile f{std::move(whole), std::move(d), mode == FileMode::Binary ? FileMode::Binary : FileMode::Output, 128, m.path,
             0, true, dev, ino, std::string(name), {}, false, failure != nullptr};
  table[n] = std::move(f);
  return true;
}

bool commit_file(int n, std::string* failure) {
  forget_recent();
  if (!is_open(n)) return false;
  OpenFile f = std::move(table[n]);
  table[n] = OpenFile{};
  if (!f.whole) {
    if (!f.data->close()) report_failed_write(*f.data);
    return true;
  }
  if (!f.data->drop()) f.whole->failed(f.data->failed);
  f.data->fd = -1;
  unpark(f.path);
  const int e = f.whole->commit(false);
  if (e != 0 && f.quiet) {
    if (failure) *failure = platform::failure_reason(e);
  } else if (e != 0) {
    say_not_written(f.name, e, f.whole->replaces());
  }
  return e == 0;
}

bool retarget_new_file(int n, std::string_view name) {
  forget_recent();
  if (!is_open(n) || !table[n].whole || name.empty()) return false;
  const platform::MappedPath m = platform::map_for_create(name);
  if (m.error != 0 || !table[n].whole->retarget(m.path, m.free ? m.folder_device : 0)) return false;
  unpark(table[n].path);
  table[n].path = m.path;
  table[n].name = std::string(name);
  return true;
}

void abandon_file(int n) {
  forget_recent();
  if (!is_open(n)) return;
  OpenFile f = std::move(table[n]);
  table[n] = OpenFile{};
  f.data->fd = -1;
  if (f.whole) f.whole->abandon();
}

std::string take_read_failure(int n) {
  if (!is_open(n) || table[n].data->read_failed == 0) return {};
  const int e = table[n].data->read_failed;
  table[n].data->read_failed = 0;
  return platform::failure_reason(e);
}

void engine_file(int n) {
  if (is_open(n)) table[n].engine = true;
}

int read_access(std::string_view name) {
  forget_recent();
  const platform::MappedPath m = platform::map_existing(name);
  if (m.error != 0) return ENOENT;
  const int fd = ::open(m.path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  ::close(fd);
  return 0;
}

std::string write_failure(int n) {
  if (!is_open(n) || !table[n].whole || table[n].whole->error() == 0) return {};
  return platform::failure_reason(table[n].whole->error());
}

bool is_open(int n) { return n >= 1 && n <= kMaxFileNumber && table[n].data; }

FileMode file_mode(int n) { return is_open(n) ? table[n].mode : FileMode::Input; }

std::string file_path(int n) { return is_open(n) ? table[n].path : std::string(); }

void close_file(int n) {
  forget_recent();
  if (!is_open(n)) return;
  if (table[n].whole) {
    commit_file(n);
    return;
  }
  OpenFile f = std::move(table[n]);
  table[n] = OpenFile{};
  FileData& d = *f.data;
  if (d.read_failed != 0 && f.engine) {
    // A file the engine cannot do without: the user is told once which one it is and what to do; the
    // stages that read it again meet the same failure.
    static std::set<std::pair<dev_t, ino_t>> said;  // the same file, by whatever name it was opened
    if (said.insert({f.dev, f.ino}).second)
      fault(f.given + " cannot be read (" + platform::failure_reason(d.read_failed) +
                "): check the disk or install the engine folder again.",
            {f.given});
    else
      set_exit_code(1);
    d.direct = true;
  } else if (d.read_failed != 0) {
    // What followed the failed read was taken for the end of the file (or zeros): the run goes on
    // without it and must say so. The file is read anew at its next open.
    fault(f.given + " cannot be read whole (" + platform::failure_reason(d.read_failed) +
              "); the run went on with what could be read of it.",
          {f.given});
    d.direct = true;
  }
  const bool keep = f.mode == FileMode::Input || f.mode == FileMode::Binary || f.mode == FileMode::Random;
  if (WorkFile* w = f.work && keep && !d.direct ? work_file(f.given) : nullptr; w && !w->data) {
    // Held with its changes for the next open of its name.
    w->data = std::move(f.data);
    w->dev = f.dev, w->ino = f.ino, w->path = f.path;
    return;
  }
  if (keep && !d.direct && d.flush()) {
    park(std::move(f.data), d.writable ? O_RDWR : O_RDONLY, f.dev, f.ino, f.path, f.given);
    return;
  }
  if (!d.close()) report_failed_write(d);
}

void close_all() {
  forget_recent();
  for (int n = 1; n <= kMaxFileNumber; ++n) {
    if (is_open(n) && table[n].whole) abandon_file(n);
    else close_file(n);
  }
}

bool line_input(int n, std::string& line) {
  OpenFile* f = reader(n);
  if (!f) return false;
  FileData& d = *f->data;
  if (d.view(d.pos).empty()) {
    d.settle();
    raise(62);
    return false;
  }
  ++f->line;
  f->at_line_start = true;
  std::string out;
  take_until(d, "\r\n", &out);
  if (next_byte(d) == '\r') skip_lf(d);
  d.settle();
  line = std::move(out);
  return true;
}

bool input_item(int n, std::string& item) {
  OpenFile* f = reader(n);
  if (!f) return false;
  FileData& d = *f->data;
  int c = next_byte(d);
  while (c == ' ') c = next_byte(d);
  if (c < 0) {
    d.settle();
    raise(62);
    return false;
  }
  if (f->at_line_start) ++f->line;
  f->at_line_start = false;
  std::string out;
  const bool quoted = c == '"';
  if (quoted) {
    take_until(d, "\"", &out);
    next_byte(d);  // the closing quote
  } else {
    --d.pos;  // the first byte may itself end the item
  }
  // Up to the comma or line end: the item's text, or what follows a closing quote (dropped).
  take_until(d, ",\r\n", quoted ? nullptr : &out);
  const int end = next_byte(d);
  if (end == '\r') skip_lf(d);
  if (end == '\r' || end == '\n') f->at_line_start = true;
  d.settle();
  item = std::move(out);
  return true;
}

std::int64_t line_number(int n) { return is_open(n) ? table[n].line : 0; }

bool at_eof(int n) {
  OpenFile* f = slot(n);
  if (!f) return true;
  const bool end = f->data->view(f->data->pos).empty();
  f->data->settle();
  return end;
}

std::int64_t LOF(int n) {
  OpenFile* f = slot(n);
  if (!f) return 0;
  return f->data->length();
}

bool print_line(int n, std::string_view text, bool newline) {
  OpenFile* f = slot(n);
  if (!f) return false;
  if (f->mode == FileMode::Input) {
    raise(54);
    return false;
  }
  FileData& d = *f->data;
  if (f->mode == FileMode::Append) d.pos = d.length();
  bool ok = d.write(d.pos, text.data(), text.size());
  if (ok) d.pos += static_cast<std::int64_t>(text.size());
  if (ok && newline) {
    ok = d.write(d.pos, "\r\n", 2);
    if (ok) d.pos += 2;
  }
  if (!ok) {
    write_failed(*f);
    return false;
  }
  return true;
}

std::int64_t SEEK(int n) {
  OpenFile* f = slot(n);
  if (!f) return 0;
  return f->data->pos + 1;
}

void seek(int n, std::int64_t position) {
  OpenFile* f = slot(n);
  if (!f) return;
  if (position < 1) {
    raise(63);
    return;
  }
  f->data->pos = position - 1;
}

std::string get_bytes(int n, std::size_t count) {
  OpenFile* f = slot(n);
  if (!f) return {};
  FileData& d = *f->data;
  std::string buf;
  buf.reserve(static_cast<std::size_t>(std::clamp<std::int64_t>(d.length() - d.pos, 0, static_cast<std::int64_t>(count))));
  d.pos += static_cast<std::int64_t>(d.read(d.pos, buf, count));
  return buf;
}

bool put_bytes(int n, std::string_view bytes) {
  OpenFile* f = slot(n);
  if (!f) return false;
  if (f->mode == FileMode::Input) {
    raise(54);
    return false;
  }
  FileData& d = *f->data;
  if (f->mode == FileMode::Append) d.pos = d.length();
  if (!d.write(d.pos, bytes.data(), bytes.size())) {
    write_failed(*f);
    return false;
  }
  d.pos += static_cast<std::int64_t>(bytes.size());
  return true;
}

bool get_record(int n, std::int64_t record, std::string& data) {
  OpenFile* f = slot(n);
  if (!f) return false;
  if (record < 1) {
    raise(63);
    return false;
  }
  FileData& d = *f->data;
  d.pos = (record - 1) * f->reclen;
  // A record past the end reads as zero bytes, as in the language.
  std::string buf;
  d.pos += static_cast<std::int64_t>(d.read(d.pos, buf, static_cast<std::size_t>(f->reclen)));
  buf.resize(static_cast<std::size_t>(f->reclen), '\0');
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
  FileData& d = *f->data;
  if (f->mode == FileMode::Append) d.pos = d.length();
  else d.pos = (record - 1) * f->reclen;
  if (!d.write(d.pos, buf.data(), buf.size())) {
    write_failed(*f);
    return false;
  }
  d.pos += static_cast<std::int64_t>(buf.size());
  return true;
}

int record_length(int n) { return is_open(n) ? table[n].reclen : 0; }

bool file_exists(std::string_view name) {
  forget_recent();
  if (name.empty()) return false;
  if (const WorkFile* w = work_file(name); w && w->data) return true;  // held here: it is there
  platform::MappedPath m = platform::map_existing(name);
  if (m.error != 0) {
    // Nothing at all under the name: the new file that often follows is made there.
    if (m.free) recent = RecentLookup{true, std::string(name), std::move(m)};
    return false;
  }
  if (!m.regular) {
    std::error_code ec;
    return !m.folder && std::filesystem::is_regular_file(m.path, ec);
  }
  recent = RecentLookup{true, std::string(name), std::move(m)};
  return true;
}

bool kill_file(std::string_view name) {
  forget_recent();
  if (WorkFile* w = work_file(name); w && w->data) {
    // A held work file is deleted where it was left, its changes forgotten.
    std::unique_ptr<FileData> d = std::move(w->data);
    d->discard();
    d->close();
    if (::unlink(w->path.c_str()) != 0) {
      raise(errno_to_error(errno));
      return false;
    }
    return true;
  }
  platform::MappedPath m = platform::map_existing(name);
  if (m.error) {
    raise(m.error);
    return false;
  }
  unpark(m.path);
  std::error_code ec;
  if (!std::filesystem::remove(m.path, ec)) {
    raise(ec ? errno_to_error(ec.value()) : 53);
    return false;
  }
  return true;
}

std::vector<std::string> DIR(std::string_view mask) {
  forget_recent();
  std::vector<std::string> names;
  for (const auto& e : platform::list_matching(mask))
    if (!e.folder) names.push_back(e.name);
  return names;
}

bool rename_file(std::string_view from, std::string_view to) {
  forget_recent();
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
  unpark(a.path);
  std::filesystem::rename(a.path, b.path, ec);
  if (ec) {
    raise(ec.value() == EXDEV ? 74 : errno_to_error(ec.value()));
    return false;
  }
  return true;
}

namespace {

// Copies the file at native path from into the new file; the errno value of the failure, 0 when none.
int copy_into(const std::string& from, platform::NewFile& out) { return out.copy_from(from); }

// A file open here that was replaced by name is read again from the disk.
void reload_replaced(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0)
    for (auto& f : table)
      if (f.data && !f.whole && f.dev == st.st_dev && f.ino == st.st_ino && !f.data->reload()) write_failed(f);
}

}  // namespace

bool copy_file(std::string_view from, std::string_view to) {
  forget_recent();
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
  flush_all();
  unpark_work(a.path);  // a held work file is read from the disk
  std::error_code ec;
  if (std::filesystem::equivalent(a.path, b.path, ec)) return true;  // a file is its own copy
  platform::NewFile out(b.path);
  int e = out.error();
  if (e == 0) e = copy_into(a.path, out);
  if (e == 0) e = out.commit(false);
  if (e != 0) {
    out.abandon();
    raise(e == ENOSPC ? 61 : e == EIO ? 57 : errno_to_error(e));
    return false;
  }
  unpark(b.path);
  reload_replaced(out.target());
  return true;
}

bool place_file(std::string_view from, std::string_view to, bool move) {
  forget_recent();
  const platform::MappedPath a = platform::map_existing(from);
  const platform::MappedPath b = platform::map_for_create(to);
  if (a.error || b.error) {
    fault(std::string(to) + " cannot be written (" +
              (a.error ? std::string(from) + ": " + error_text(a.error) : error_text(b.error)) + ").",
          a.error ? std::vector<std::string>{std::string(to), std::string(from)} : std::vector<std::string>{std::string(to)});
    return false;
  }
  flush_all();
  unpark(a.path);
  unpark(b.path);
  // A copy is a file of its own, never a link of from: a program that writes into one in place must
  // not change the other.
  int e = move ? platform::move_into_place(a.path, b.path) : EXDEV;
  if (e == 0) {
    reload_replaced(platform::resolve_target(b.path));
    return true;
  }
  // Another file system, or a copy asked for: a copy, written whole.
  bool replaces = false;
  if (e == EXDEV || e == EPERM || e == EMLINK || e == EOPNOTSUPP || e == ENOSYS) {
    platform::NewFile out(b.path);
    replaces = out.replaces();
    e = out.error();
    if (e == 0) e = copy_into(a.path, out);
    if (e == 0) e = out.commit(false);
    if (e == 0 && move) ::unlink(a.path.c_str());
    if (e == 0) {
      reload_replaced(out.target());
      return true;
    }
  } else {
    struct stat st {};
    replaces = ::stat(b.path.c_str(), &st) == 0;
  }
  say_not_written(to, e, replaces);
  return false;
}

bool lock_engine_folder() {
  if (folder_locked) return true;
  int fd = ::open("profile.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) fd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    folder_locked = true;
    lock_fd = fd;  // the descriptor stays open: the lock lasts
    return true;
  }
  const bool held = errno == EWOULDBLOCK;
  ::close(fd);
  return !held;
}

namespace {

// The job folders this run writes into, each locked by a descriptor of its own.
struct JobLock {
  dev_t dev;
  ino_t ino;
  int fd;
};
std::vector<JobLock>& job_locks() {
  static std::vector<JobLock> locks;
  return locks;
}
// The job folders another run held when this run came to them: refused for the rest of this run, also
// once the other has ended (this run's files and the other's are never mixed in one folder).
std::vector<JobLock>& job_refusals() {
  static std::vector<JobLock> refused;
  return refused;
}

}  // namespace

bool lock_job_folder(std::string_view name) {
  forget_recent();
  const platform::MappedPath m = platform::map_existing(name);
  if (m.error != 0) return true;  // no folder: nothing of another run is there to lose
  const int fd = ::open(m.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return true;
  }
  struct stat engine {};
  const bool held = std::any_of(job_locks().begin(), job_locks().end(),
                                [&st](const JobLock& l) { return l.dev == st.st_dev && l.ino == st.st_ino; }) ||
                    (lock_fd >= 0 && ::fstat(lock_fd, &engine) == 0 && engine.st_dev == st.st_dev &&
                     engine.st_ino == st.st_ino);
  const bool refused = std::any_of(job_refusals().begin(), job_refusals().end(),
                                   [&st](const JobLock& l) { return l.dev == st.st_dev && l.ino == st.st_ino; });
  if (held || refused) {
    ::close(fd);
    return held;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    job_locks().push_back(JobLock{st.st_dev, st.st_ino, fd});
    return true;
  }
  const bool other = errno == EWOULDBLOCK;
  ::close(fd);
  if (other) job_refusals().push_back(JobLock{st.st_dev, st.st_ino, -1});
  return !other;  // a file system without locks lets the run go on
}

void unlock_job_folders() {
  flush_all();
  for (const JobLock& l : job_locks()) ::close(l.fd);
  job_locks().clear();
  job_refusals().clear();
}

void unlock_engine_folder() {
  if (!folder_locked) return;
  let_go_work_files();
  flush_all();  // what this process wrote is on the disk before another run may read it
  ::close(lock_fd);  // closing the only descriptor of the lock's open file ends the lock
  lock_fd = -1;
  folder_locked = false;
}

bool folder_exists(std::string_view name) {
  forget_recent();
  if (name.empty()) return false;
  platform::MappedPath m = platform::map_existing(name);
  if (m.error != 0) return false;
  if (m.regular || m.folder) return m.folder;
  std::error_code ec;
  return std::filesystem::is_directory(m.path, ec);
}

bool make_path(std::string_view name) {
  forget_recent();
  while (name.size() > 1 && (name.back() == '\\' || name.back() == '/')) name.remove_suffix(1);
  if (name.empty()) return false;
  if (folder_exists(name)) return true;
  const size_t cut = name.find_last_of("\\/");
  if (cut != std::string_view::npos && cut > 0 && !make_path(name.substr(0, cut))) return false;
  platform::MappedPath m = platform::map_for_create(name);
  if (m.error) return false;
  std::error_code ec;
  std::filesystem::create_directory(m.path, ec);
  return std::filesystem::is_directory(m.path, ec);
}

bool make_folder(std::string_view name) {
  forget_recent();
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
  forget_recent();
  if (name.empty() || name.find_first_of("*?") != std::string_view::npos) {
    raise(64);
    return false;
  }
  platform::MappedPath m = platform::map_existing(name);
  if (m.error) {
    raise(m.error);
    return false;
  }
  flush_all();  // the last-write time of a file written here
  unpark_work(m.path);
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

void hold_work_files(const std::vector<std::string>& names) {
  let_go_work_files();
  if (!folder_locked) return;
  for (const auto& name : names) work_files.push_back(WorkFile{name, nullptr, 0, 0, {}});
}

void let_go_work_files() {
  for (auto& w : work_files) let_go(w);
  work_files.clear();
}

}  // namespace rt
