// Mapping of the engine's Windows-style path strings onto this file system.
//
// Engine code keeps paths as the user and the data files write them ("C:\vlx7000\STANDARD.SET",
// "Examples\Examples.TXT"). Before a file is opened the name goes through here:
//  - "\" and "/" both separate parts;
//  - a drive prefix "X:" maps to a folder: C: is the user's home folder unless VLX_DRIVE_C names
//    another; any other letter only through VLX_DRIVE_<letter>, else the drive is "not ready";
//  - each part of an existing path is matched without regard to letter case when no exact match
//    exists, because Windows names are case-insensitive and the data files are named both ways;
//  - a new file is created with its last part as given.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Error numbers use the engine's own numbering (53 file not found, 71 disk not ready, 76 path not found).
struct MappedPath {
  std::string path;  // native path; for a failed mapping the best guess, for messages only
  int error = 0;
  // When the name is a regular file: its device, inode number and length, as the lookup
  // saw them (0 otherwise), so that a caller can tell whether a file it holds open is still the one
  // named without asking the system again.
  std::uint64_t device = 0, inode = 0;
  std::int64_t size = 0;
  std::int64_t mtime_ns = 0;  // its last change, in nanoseconds
  // What the lookup saw at the name: a regular file, or a folder (neither for a link, or nothing).
  bool regular = false, folder = false;
  // Nothing at all under the name (no file, folder or link, under any letter case) in a folder that is
  // there, on the device folder_device: known when the lookup saw it without asking again.
  bool free = false;
  std::uint64_t folder_device = 0;
};

// Native path of an existing file or folder; error 53 when the last part is missing, 76 when a folder
// on the way is missing, 71 when the drive letter maps to nothing.
MappedPath map_existing(std::string_view name);

// Native path at which a file of this name is to be created (or found, when one exists already under
// another letter case); the folder must exist (else error 76).
MappedPath map_for_create(std::string_view name);

// True when the name maps onto an existing regular file or folder.
bool exists(std::string_view name);
bool is_folder(std::string_view name);

// The path search of the engine: the program's folder, the current folder, then each folder of PATH.
// Returns the native full path of the first existing file, or empty.
std::string search_path(std::string_view name);

// The entries of a folder whose names match a mask, as a directory search finds them: the mask's
// folder part (none: the current folder) is mapped as above, its last part may hold "*" (any run of
// characters) and "?" (one character) and is compared without regard to letter case. Names come
// without the folder, sorted by name without regard to letter case as a Windows folder search gives
// them (whatever order this file system keeps); a missing folder gives none. A last part of "*.*"
// matches every name, also names without a point, as it does in the engine's directory searches.
// At most limit entries are listed, the first ones by name; hidden ones (names that begin with ".")
// only when asked for.
struct FolderEntry {
  std::string name;
  bool folder = false;
};
std::vector<FolderEntry> list_matching(std::string_view mask, size_t limit = static_cast<size_t>(-1),
                                       bool hidden = true);

// Folder of the running program (native, no trailing separator). Empty when unknown.
std::string program_folder();

// Splits a Windows- or POSIX-style name into its folder (with trailing separator, as written) and the
// rest; used where engine code asks for "the folder part" of a name.
std::string_view folder_part(std::string_view name);
std::string_view file_part(std::string_view name);

// One key for the file a name stands for, whether it exists or not: the real path of its folder and
// its name in upper case, a symbolic link at the name followed first. Names with one key are one file
// to the engine, which matches names without regard to letter case. Empty when the folder is not there.
std::string file_key(std::string_view name);

}  // namespace platform
