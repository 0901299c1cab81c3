// Files written whole or not at all, for the engine and the front end alike.
//
// A file the user keeps is never written in place: a new file is made in the same folder as the
// target, written, forced to disk where it replaces a file, closed with the close checked, and then
// renamed over the target in one step. A reader of the target therefore sees the old file or the whole
// new one, never a part; a failure anywhere removes the new file and leaves the target as it was.
// The same rules hold on both sides:
//  - a target that is a symbolic link stays a link: the file it leads to is replaced (also a link that
//    leads nowhere yet: the file is made where it points);
//  - a replaced file keeps its permission bits exactly (not narrowed by the umask); a new file gets
//    0666 less the umask, as any new file;
//  - every write and the close are checked; the first failure is kept as an errno value.
// The new file has no name until it is committed where the file system allows (O_TMPFILE), so a
// process killed while writing leaves nothing behind; elsewhere it is a hidden file beside the target
// (".NAME.XXXXXX~").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The file a target name stands for: the name itself, or for a symbolic link the file it leads to
// (followed through a chain of links, relative links from their own folder).
std::string resolve_target(const std::string& native_path);

// One new file for one target.
class NewFile {
 public:
  // Opens the new file beside target (native path). error() says why when that fails. free_device:
  // the device of target's folder when a lookup just now found nothing at all under target (no file,
  // folder or link), so that the target need not be looked at again; 0 when that is not known.
  explicit NewFile(const std::string& target, std::uint64_t free_device = 0);
  ~NewFile();  // a file neither committed nor abandoned is abandoned
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // The descriptor, open for reading and writing; -1 when the file could not be made.
  int fd() const { return fd_; }
  // The errno value of the first failure (open, write, sync, close, rename); 0 while none.
  int error() const { return error_; }
  // Keeps the errno value of a failure that the caller met writing through fd() (only the first counts).
  void failed(int errno_value);
  // The device and inode number of the new file (0 when it could not be made).
  std::uint64_t device() const { return dev_; }
  std::uint64_t inode() const { return ino_; }
  // True when the target existed when the new file was made.
  bool replaces() const { return replaces_; }
  // The file that the commit replaces (the target with its links followed).
  const std::string& target() const { return target_; }

  // Makes the commit put the file in place of another target (native path) instead, on the same
  // file system: a file that has been written under a work name goes straight to where it is kept,
  // as if it had been made for that target (a replaced file's permission bits and owner). False, with
  // nothing changed, where that cannot be done (another file system, a folder there, a failure).
  bool retarget(const std::string& target, std::uint64_t free_device = 0);
  // Appends bytes at the end of what was written through here; false (error() set) when it fails.
  bool write(const char* bytes, std::size_t count);
  // Appends the whole file at path (native path): its blocks shared where the file system clones files
  // (a reflink, into a file still empty), else copied by the kernel (copy_file_range), else read and
  // written here. Never a link: the new file stays a file of its own, which a program writing into it
  // in place cannot make change any other. 0, else the errno value of the failure (error() set).
  int copy_from(const std::string& path);
  // Forces the data to disk (always, or only when a file is replaced), closes the file and puts it in
  // place of the target. 0 on success, else the errno value of the failure (the new file is gone).
  int commit(bool sync_always);
  // Closes and removes the new file; the target stays as it was.
  void abandon();

 private:
  std::string target_;
  std::string temp_;  // the hidden name of a file that has one before the commit
  int fd_ = -1;
  int error_ = 0;
  bool replaces_ = false;
  unsigned mode_ = 0;  // the permission bits of the replaced file
  std::int64_t end_ = 0;
  std::uint64_t dev_ = 0, ino_ = 0;
};

// Puts the file from in place of to (native paths), whole or not at all, as a commit does: renamed
// (from is gone afterwards). Fails with EXDEV across file systems: the caller then copies
// (NewFile::copy_from). 0 on success, else errno.
int move_into_place(const std::string& from, const std::string& to);

// The reason of an errno value in plain words ("the disk is full").
std::string failure_reason(int errno_value);

}  // namespace platform
