// The new file beside its target, its commit, and the moves and links of finished files into place.
#include "wholefile.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace platform {
namespace {

std::string folder_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string name_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A hidden name beside path that is free now: ".NAME.XXXXXX~".
std::string free_name_beside(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  const std::string stem = folder_of(path) + "/." + name_of(path) + ".";
  for (int tries = 0; tries < 100; ++tries) {
    const unsigned n = (static_cast<unsigned>(::getpid()) * 7919u + counter++ * 104729u) % 1000000u;
    std::string name = stem + std::to_string(n) + "~";
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0 && errno == ENOENT) return name;
  }
  return stem + std::to_string(::getpid()) + "~";
}

int sync_file(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  int e = ::fsync(fd) == 0 ? 0 : errno;
  if (::close(fd) != 0 && e == 0) e = errno;
  return e;
}

// The effective user and group of this process, asked once (the engine never changes them).
uid_t process_uid() {
  static const uid_t uid = ::geteuid();
  return uid;
}
gid_t process_gid() {
  static const gid_t gid = ::getegid();
  return gid;
}

bool same_file(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Gives the open file the permission bits mode: 0, or the errno value of a refused change. A file
// system without modes (a FAT drive through FUSE) refuses every chmod; one that would change nothing
// is then no failure.
int set_mode(int fd, unsigned mode) {
  struct stat st {};
  if (::fstat(fd, &st) == 0 && (st.st_mode & 07777) == mode) return 0;
  if (::fchmod(fd, mode) == 0) return 0;
  const int e = errno;
  return ::fstat(fd, &st) == 0 && (st.st_mode & 07777) == mode ? 0 : e;
}

}  // namespace

namespace {

// The file a target name stands for (see resolve_target), and whether it exists: st is its status then
// (one look at a name that is no link).
std::string resolve_and_stat(const std::string& native_path, struct stat& st, bool& exists) {
  if (::lstat(native_path.c_str(), &st) == 0) {
    exists = !S_ISLNK(st.st_mode);
    if (exists) return native_path;
  } else if (errno == ENOENT) {
    exists = false;  // no entry: no link either
    return native_path;
  }
  std::string target = resolve_target(native_path);
  exists = ::stat(target.c_str(), &st) == 0;
  return target;
}

}  // namespace

std::string resolve_target(const std::string& native_path) {
  std::filesystem::path p = native_path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
    std::error_code ec;
    const std::filesystem::path to = std::filesystem::read_symlink(p, ec);
    if (ec) break;
    p = (to.is_absolute() ? to : p.parent_path() / to).lexically_normal();
  }
  return p.string();
}

std::string failure_reason(int e) {
  switch (e) {
    case ENOSPC: return "the disk is full";
    case EDQUOT: return "the disk quota is used up";
    case EACCES:
    case EPERM: return "permission denied";
    case EROFS: return "the file system is read-only";
    case EISDIR: return "a folder has that name";
    case ENOENT: return "its folder does not exist";
    case ENOTDIR: return "a part of its path is no folder";
    case EIO: return "a device input/output error";
    case EXDEV: return "it lies on another file system";
    case ENAMETOOLONG: return "the name is too long";
    case EMFILE:
    case ENFILE: return "too many files are open";
    default: return std::strerror(e);
  }
}

NewFile::NewFile(const std::string& target, std::uint64_t free_device) {
  struct stat st {};
  bool exists = false;
  target_ = free_device != 0 ? target : resolve_and_stat(target, st, exists);
  if (exists) {
    if (S_ISDIR(st.st_mode)) {
      error_ = EISDIR;
      return;
    }
    replaces_ = true;
    mode_ = st.st_mode & 07777;
  }
  const std::string folder = folder_of(target_);
  // Without a name until the commit where the file system and /proc allow it.
  static const bool proc_fds = ::access("/proc/self/fd", X_OK) == 0;  // asked once: it stays as it is
  if (proc_fds) {
    fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
      error_ = errno;
      return;
    }
  }
  if (fd_ < 0) {
    temp_ = free_name_beside(target_);
    fd_ = ::open(temp_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0) {
      error_ = errno;
      temp_.clear();
      return;
    }
  }
  struct stat made {};
  if (::fstat(fd_, &made) == 0) dev_ = made.st_dev, ino_ = made.st_ino;
  if (replaces_) {
    // The owner too where this process may give it (a file of another user edited by root).
    if (process_uid() == 0 && (st.st_uid != process_uid() || st.st_gid != process_gid()))
      if (::fchown(fd_, st.st_uid, st.st_gid) != 0) {
        // The file stays this process's own; its permission bits are still kept.
      }
    if (const int e = set_mode(fd_, mode_)) error_ = e;
  }
  // A file that replaces none has the mode any new file gets here (0666 less the umask, or what the
  // folder's default ACL gives), from its open: a chmod after it would need the umask, which cannot be
  // read without setting it (a race with other threads), and a FAT file system refuses a chmod that
  // drops its execute bits.
}

NewFile::~NewFile() { abandon(); }

bool NewFile::retarget(const std::string& target, std::uint64_t free_device) {
  if (fd_ < 0 || error_ != 0) return false;
  struct stat st {};
  bool replaces = false;
  std::string to = target;
  if (free_device != 0) {
    st.st_dev = static_cast<dev_t>(free_device);
  } else {
    to = resolve_and_stat(target, st, replaces);
    if (replaces && S_ISDIR(st.st_mode)) return false;
    if (!replaces && (::stat(folder_of(to).c_str(), &st) != 0 || !S_ISDIR(st.st_mode))) return false;
  }
  if (st.st_dev != dev_) return false;  // a rename or link cannot cross file systems
  if (replaces) {
    // Made as a new file of this process (owner, mode less the umask) or for the work name it had:
    // it takes the owner and the permission bits of the file it replaces now.
    if (process_uid() == 0 && (st.st_uid != process_uid() || st.st_gid != process_gid()))
      if (::fchown(fd_, st.st_uid, st.st_gid) != 0) {
        // The file stays this process's own; its permission bits are still kept.
      }
    if (set_mode(fd_, st.st_mode & 07777) != 0) return false;
    mode_ = st.st_mode & 07777;
  }
  target_ = to;
  replaces_ = replaces;
  return true;
}

void NewFile::failed(int errno_value) {
  if (error_ == 0) error_ = errno_value != 0 ? errno_value : EIO;
}

bool NewFile::write(const char* bytes, std::size_t count) {
  if (fd_ < 0 || error_ != 0) return false;
  std::size_t done = 0;
  while (done < count) {
    const ssize_t w = ::pwrite(fd_, bytes + done, count - done, end_);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      failed(w < 0 ? errno : ENOSPC);
      return false;
    }
    done += static_cast<std::size_t>(w);
    end_ += w;
  }
  return true;
}

int NewFile::copy_from(const std::string& path) {
  if (fd_ < 0 || error_ != 0) return error_ != 0 ? error_ : EBADF;
  const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    failed(errno);
    return error_;
  }
  struct stat st {};
  if (::fstat(in, &st) != 0) {
    failed(errno);
    ::close(in);
    return error_;
  }
  if (end_ == 0 && ::ioctl(fd_, FICLONE, in) == 0) {
    end_ = st.st_size;
    ::close(in);
    return 0;
  }
  // copy_file_range until the end of the file (read: a size that changed meanwhile counts as it is).
  loff_t from = 0, to = end_;
  bool kernel = true;
  for (;;) {
    const ssize_t n = kernel ? ::copy_file_range(in, &from, fd_, &to, 1 << 30, 0) : -1;
    if (n > 0) continue;
    if (n == 0) break;
    if (errno == EINTR) continue;
    if (from == 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EBADF)) {
      kernel = false;  // not between these two files: read and written below
      break;
    }
    failed(errno);
    break;
  }
  end_ = to;
  if (!kernel && error_ == 0) {
    char buf[1 << 16];
    for (;;) {
      const ssize_t r = ::pread(in, buf, sizeof buf, from);
      if (r < 0 && errno == EINTR) continue;
      if (r < 0) failed(errno);
      if (r <= 0 || !write(buf, static_cast<std::size_t>(r))) break;
      from += r;
    }
  }
  ::close(in);
  return error_;
}

int NewFile::commit(bool sync_always) {
  if (fd_ < 0 && error_ == 0) error_ = EBADF;
  if (error_ == 0 && (sync_always || replaces_) && ::fsync(fd_) != 0) error_ = errno;
  if (error_ == 0 && temp_.empty()) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    // Where no file stands under the target, the unnamed file gets that name in one step, whole;
    // else (or when one has come since) its hidden name, renamed over the target below.
    if (!replaces_ && ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      const int fd = fd_;
      fd_ = -1;
      if (::close(fd) != 0) {
        error_ = errno;
        ::unlink(target_.c_str());  // no file stood there: none stands there after a failure
      }
      return error_;
    }
    const std::string name = free_name_beside(target_);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) temp_ = name;
    else error_ = errno;
  }
  if (fd_ >= 0) {
    if (::close(fd_) != 0 && error_ == 0) error_ = errno;
    fd_ = -1;
  }
  if (error_ == 0 && ::rename(temp_.c_str(), target_.c_str()) != 0) error_ = errno;
  if (error_ != 0 && !temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  return error_;
}

void NewFile::abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

namespace {

// The finished file from in place of to, renamed; a replaced file's permission bits are kept.
int put_in_place(const std::string& from, const std::string& to) {
  const std::string target = resolve_target(to);
  struct stat a {}, b {};
  if (::stat(from.c_str(), &a) != 0) return errno;
  if (::stat(target.c_str(), &b) == 0) {
    if (S_ISDIR(b.st_mode)) return EISDIR;
    if (same_file(a, b)) return 0;
    if ((a.st_mode & 07777) != (b.st_mode & 07777) && ::chmod(from.c_str(), b.st_mode & 07777) != 0) return errno;
    if (const int e = sync_file(from)) return e;
  }
  return ::rename(from.c_str(), target.c_str()) == 0 ? 0 : errno;
}

}  // namespace

int move_into_place(const std::string& from, const std::string& to) { return put_in_place(from, to); }

}  // namespace platform
