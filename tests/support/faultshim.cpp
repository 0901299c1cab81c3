// A preloaded library (LD_PRELOAD) that makes one system call of a program fail, for the test that a
// run meets every failing open, read, write, sync, rename, link, close and chmod soundly.
//
// The calls it watches fall in kinds: open (open, openat, creat), read (read, pread, readv, preadv),
// write (write, pwrite, writev, pwritev), copy (copy_file_range, sendfile), fsync (fsync, fdatasync),
// rename (rename, renameat, renameat2), link (link, linkat), close, chmod (chmod, fchmod, fchmodat).
// Only calls on the program's own files count: a name under the folder VLX_FAULT_ROOT (or a relative
// one), a descriptor of a regular file or a folder other than 0..2.
//
//   VLX_FAULT_RECORD=FILE  appends one line per such call: "kind ordinal site", the ordinal counted
//                          from 1 in each kind, the site a hash of the call's stack (the same place of
//                          the program gives the same site from run to run).
//   VLX_FAULT=kind:N:ERRNO the N-th call of the kind fails with the error number (a close still
//                          closes the descriptor, as the kernel does); VLX_FAULT_HIT names a file made
//                          when it did, and
//   VLX_FAULT=kind:0:ERRNO with VLX_FAULT_NAME=NAME: every call of the kind on a file named NAME (the
//                          last part of its path; for a read, the file the descriptor is open on)
//                          fails, as for a file the user may not read or a damaged disk; VLX_FAULT_SAY=1 has it say on standard error which call
//                          failed and on what file (for a person looking into a case).
#include <dlfcn.h>
#include <execinfo.h>
#include <fcntl.h>
#include <stdarg.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum Kind { kOpen, kRead, kWrite, kCopy, kFsync, kRename, kLink, kClose, kChmod, kKinds };
const char* const kKindNames[kKinds] = {"open", "read", "write", "copy", "fsync", "rename", "link", "close", "chmod"};

struct Config {
  bool loaded = false;
  const char* root = nullptr;
  std::size_t root_length = 0;
  int record_fd = -1;
  int fault_kind = -1;
  long fault_ordinal = 0;
  int fault_errno = 0;
  const char* hit_file = nullptr;
  bool say = false;
  const char* fault_name = nullptr;
  long counts[kKinds] = {};
};

Config config;
thread_local bool inside = false;  // a call made by the shim itself (the stack walk opens libgcc)

void load() {
  if (config.loaded) return;
  config.loaded = true;
  config.root = std::getenv("VLX_FAULT_ROOT");
  config.root_length = config.root ? std::strlen(config.root) : 0;
  if (const char* record = std::getenv("VLX_FAULT_RECORD"))
    config.record_fd = static_cast<int>(
        syscall(SYS_openat, AT_FDCWD, record, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  if (const char* fault = std::getenv("VLX_FAULT")) {
    char kind[16] = {};
    long ordinal = 0;
    int error = 0;
    if (std::sscanf(fault, "%15[a-z]:%ld:%d", kind, &ordinal, &error) == 3)
      for (int k = 0; k < kKinds; ++k)
        if (std::strcmp(kind, kKindNames[k]) == 0) {
          config.fault_kind = k;
          config.fault_ordinal = ordinal;
          config.fault_errno = error;
        }
  }
  config.hit_file = std::getenv("VLX_FAULT_HIT");
  config.say = std::getenv("VLX_FAULT_SAY") != nullptr;
  config.fault_name = std::getenv("VLX_FAULT_NAME");
}

bool own_path(const char* path) {
  if (!path) return false;
  if (path[0] != '/') return true;
  return config.root_length > 0 && std::strncmp(path, config.root, config.root_length) == 0;
}

bool own_fd(int fd) {
  if (fd <= 2) return false;
  struct stat st;
  if (syscall(SYS_fstat, fd, &st) != 0) return false;
  return S_ISREG(st.st_mode) || S_ISDIR(st.st_mode);
}

// A hash of the return addresses of the stack, each as its offset in its program or library.
std::uint64_t site() {
  void* frames[24];
  const int n = backtrace(frames, 24);
  std::uint64_t h = 1469598103934665603ull;
  Dl_info self{};
  dladdr(reinterpret_cast<void*>(&site), &self);
  for (int i = 0; i < n; ++i) {
    Dl_info info{};
    if (!dladdr(frames[i], &info) || info.dli_fbase == self.dli_fbase) continue;
    const std::uint64_t offset =
        reinterpret_cast<std::uintptr_t>(frames[i]) - reinterpret_cast<std::uintptr_t>(info.dli_fbase);
    for (int b = 0; b < 8; ++b) h = (h ^ ((offset >> (8 * b)) & 0xff)) * 1099511628211ull;
  }
  return h;
}

// Counts a call of the kind on the program's own file (a name, or a descriptor when name is null);
// true when it is the one to fail (errno set).
bool fails(Kind kind, bool own, const char* name = nullptr, int fd = -1) {
  if (inside) return false;
  load();
  if (!own) return false;
  inside = true;
  const long ordinal = ++config.counts[kind];
  if (config.record_fd >= 0) {
    char line[96];
    const int n = std::snprintf(line, sizeof line, "%s %ld %016llx\n", kKindNames[kind], ordinal,
                                static_cast<unsigned long long>(site()));
    syscall(SYS_write, config.record_fd, line, static_cast<std::size_t>(n));
  }
  bool fail = kind == config.fault_kind && ordinal == config.fault_ordinal;
  if (kind == config.fault_kind && config.fault_ordinal == 0 && config.fault_name) {
    char named[512] = {};  // a call on a descriptor: the name the descriptor was opened by
    if (!name && fd >= 0) {
      char link[64];
      std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
      if (syscall(SYS_readlinkat, AT_FDCWD, link, named, sizeof named - 1) > 0) name = named;
    }
    const char* last = name ? std::strrchr(name, '/') : nullptr;
    fail = name && std::strcmp(last ? last + 1 : name, config.fault_name) == 0;
    if (name == named) name = nullptr;
  }
  if (fail && config.hit_file) {
    const long hit = syscall(SYS_openat, AT_FDCWD, config.hit_file, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (hit >= 0) syscall(SYS_close, hit);
  }
  if (fail && config.say) {
    char path[512] = {};
    if (!name) {
      char link[64];
      std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
      if (syscall(SYS_readlinkat, AT_FDCWD, link, path, sizeof path - 1) < 0) std::strcpy(path, "?");
      name = path;
    }
    char line[700];
    const int n = std::snprintf(line, sizeof line, "faultshim: %s %ld fails on %s\n", kKindNames[kind], ordinal, name);
    syscall(SYS_write, 2, line, static_cast<std::size_t>(std::min(n, static_cast<int>(sizeof line) - 1)));
  }
  inside = false;
  if (fail) errno = config.fault_errno;
  return fail;
}

template <typename F>
F real(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

mode_t mode_argument(int flags, va_list ap) {
  return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? static_cast<mode_t>(va_arg(ap, int)) : 0;
}

}  // namespace

#define VLX_SHIM_OPEN(name)                                                             \
  extern "C" int name(const char* path, int flags, ...) {                                \
    va_list ap;                                                                          \
    va_start(ap, flags);                                                                 \
    const mode_t mode = mode_argument(flags, ap);                                        \
    va_end(ap);                                                                          \
    if (fails(kOpen, own_path(path), path)) return -1;                                         \
    static auto f = real<int (*)(const char*, int, ...)>(#name);                         \
    return f(path, flags, mode);                                                         \
  }
VLX_SHIM_OPEN(open)
VLX_SHIM_OPEN(open64)

#define VLX_SHIM_OPENAT(name)                                                            \
  extern "C" int name(int dir, const char* path, int flags, ...) {                        \
    va_list ap;                                                                          \
    va_start(ap, flags);                                                                 \
    const mode_t mode = mode_argument(flags, ap);                                        \
    va_end(ap);                                                                          \
    if (fails(kOpen, own_path(path), path)) return -1;                                         \
    static auto f = real<int (*)(int, const char*, int, ...)>(#name);                    \
    return f(dir, path, flags, mode);                                                    \
  }
VLX_SHIM_OPENAT(openat)
VLX_SHIM_OPENAT(openat64)

extern "C" int creat(const char* path, mode_t mode) {
  if (fails(kOpen, own_path(path), path)) return -1;
  static auto f = real<int (*)(const char*, mode_t)>("creat");
  return f(path, mode);
}

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
  if (fails(kRead, own_fd(fd), nullptr, fd)) return -1;
  static auto f = real<ssize_t (*)(int, void*, size_t)>("read");
  return f(fd, buffer, count);
}
extern "C" ssize_t pread64(int fd, void* buffer, size_t count, off_t at) {
  if (fails(kRead, own_fd(fd), nullptr, fd)) return -1;
  static auto f = real<ssize_t (*)(int, void*, size_t, off_t)>("pread64");
  return f(fd, buffer, count, at);
}
extern "C" ssize_t pread(int fd, void* buffer, size_t count, off_t at) { return pread64(fd, buffer, count, at); }
extern "C" ssize_t readv(int fd, const struct iovec* v, int n) {
  if (fails(kRead, own_fd(fd), nullptr, fd)) return -1;
  static auto f = real<ssize_t (*)(int, const struct iovec*, int)>("readv");
  return f(fd, v, n);
}
extern "C" ssize_t preadv64(int fd, const struct iovec* v, int n, off_t at) {
  if (fails(kRead, own_fd(fd), nullptr, fd)) return -1;
  static auto f = real<ssize_t (*)(int, const struct iovec*, int, off_t)>("preadv64");
  return f(fd, v, n, at);
}
extern "C" ssize_t preadv(int fd, const struct iovec* v, int n, off_t at) { return preadv64(fd, v, n, at); }

extern "C" ssize_t write(int fd, const void* buffer, size_t count) {
  if (fails(kWrite, own_fd(fd), nullptr, fd)) return -1;
  static auto f = real<ssize_t (*)(int, const void*, size_t)>("write");
  return f(fd, buffer, count);
}
extern "C" ssize_t pwrite64(int fd, const void* buffer, size_t count, off_t at) {
  if (fails(kWrite, own_fd(fd), nullptr, fd)) return -1;
  static auto f = real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite64");
  return f(fd, buffer, count, at);
}
extern "C" ssize_t pwrite(int fd, const void* buffer, size_t count, off_t at) { return pwrite64(fd, buffer, count, at); }
extern "C" ssize_t writev(int fd, const struct iovec* v, int n) {
  if (fails(kWrite, own_fd(fd), nullptr, fd)) return -1;
  static auto f = real<ssize_t (*)(int, const struct iovec*, int)>("writev");
  return f(fd, v, n);
}
extern "C" ssize_t pwritev64(int fd, const struct iovec* v, int n, off_t at) {
  if (fails(kWrite, own_fd(fd), nullptr, fd)) return -1;
  static auto f = real<ssize_t (*)(int, const struct iovec*, int, off_t)>("pwritev64");
  return f(fd, v, n, at);
}
extern "C" ssize_t pwritev(int fd, const struct iovec* v, int n, off_t at) { return pwritev64(fd, v, n, at); }

extern "C" ssize_t copy_file_range(int in, off64_t* in_at, int out, off64_t* out_at, size_t count, unsigned flags) {
  if (fails(kCopy, own_fd(out), nullptr, out)) return -1;
  static auto f = real<ssize_t (*)(int, off64_t*, int, off64_t*, size_t, unsigned)>("copy_file_range");
  return f(in, in_at, out, out_at, count, flags);
}
extern "C" ssize_t sendfile64(int out, int in, off_t* at, size_t count) {
  if (fails(kCopy, own_fd(out), nullptr, out)) return -1;
  static auto f = real<ssize_t (*)(int, int, off_t*, size_t)>("sendfile64");
  return f(out, in, at, count);
}
extern "C" ssize_t sendfile(int out, int in, off_t* at, size_t count) { return sendfile64(out, in, at, count); }

extern "C" int fsync(int fd) {
  if (fails(kFsync, own_fd(fd), nullptr, fd)) return -1;
  static auto f = real<int (*)(int)>("fsync");
  return f(fd);
}
extern "C" int fdatasync(int fd) {
  if (fails(kFsync, own_fd(fd), nullptr, fd)) return -1;
  static auto f = real<int (*)(int)>("fdatasync");
  return f(fd);
}

extern "C" int rename(const char* from, const char* to) {
  if (fails(kRename, own_path(to), to)) return -1;
  static auto f = real<int (*)(const char*, const char*)>("rename");
  return f(from, to);
}
extern "C" int renameat(int from_dir, const char* from, int to_dir, const char* to) {
  if (fails(kRename, own_path(to), to)) return -1;
  static auto f = real<int (*)(int, const char*, int, const char*)>("renameat");
  return f(from_dir, from, to_dir, to);
}
extern "C" int renameat2(int from_dir, const char* from, int to_dir, const char* to, unsigned flags) {
  if (fails(kRename, own_path(to), to)) return -1;
  static auto f = real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
  return f(from_dir, from, to_dir, to, flags);
}

extern "C" int link(const char* from, const char* to) {
  if (fails(kLink, own_path(to), to)) return -1;
  static auto f = real<int (*)(const char*, const char*)>("link");
  return f(from, to);
}
extern "C" int linkat(int from_dir, const char* from, int to_dir, const char* to, int flags) {
  if (fails(kLink, own_path(to), to)) return -1;
  static auto f = real<int (*)(int, const char*, int, const char*, int)>("linkat");
  return f(from_dir, from, to_dir, to, flags);
}

extern "C" int close(int fd) {
  const bool fail = fails(kClose, own_fd(fd), nullptr, fd);
  static auto f = real<int (*)(int)>("close");
  const int r = f(fd);
  if (!fail) return r;
  errno = config.fault_errno;
  return -1;
}

extern "C" int chmod(const char* path, mode_t mode) {
  if (fails(kChmod, own_path(path), path)) return -1;
  static auto f = real<int (*)(const char*, mode_t)>("chmod");
  return f(path, mode);
}
extern "C" int fchmod(int fd, mode_t mode) {
  if (fails(kChmod, own_fd(fd), nullptr, fd)) return -1;
  static auto f = real<int (*)(int, mode_t)>("fchmod");
  return f(fd, mode);
}
extern "C" int fchmodat(int dir, const char* path, mode_t mode, int flags) {
  if (fails(kChmod, own_path(path), path)) return -1;
  static auto f = real<int (*)(int, const char*, mode_t, int)>("fchmodat");
  return f(dir, path, mode, flags);
}
