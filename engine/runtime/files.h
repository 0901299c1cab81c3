// The numbered files of the engine (file numbers 1..255), every access through the path layer.
//
// Modes: Input (text, read), Output (text, created/emptied), Append (text, created when missing),
// Binary (bytes by position, created when missing) and Random (fixed-length records, created when
// missing). Failures report the runtime error (52 bad file number, 53 file not found, 54 bad file mode,
// 55 file is open, 62 input past end, 63 bad record number, 70 permission denied, 71 disk not ready,
// 75 path/file access error, 76 path not found) and the call returns false / an empty result.
//
// Positions for Binary and record numbers for Random count from 1, as in the language.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace rt {

enum class FileMode { Input, Output, Append, Binary, Random };

constexpr int kMaxFileNumber = 255;

// FREEFILE: the lowest file number not in use (0 when all are in use).
int FREEFILE();

bool open_file(int number, std::string_view name, FileMode mode, int record_length = 128);
// A file written whole or not at all (platform/wholefile.h): a new file beside the file name, opened
// under the number in mode Output or Binary and written with the calls below like any other. A write
// that fails reports no error here: the file keeps the failure and every later write returns false.
// close_file (and commit_file) puts it in place of name in one step, forced to disk when it replaces a
// file; abandon_file removes it, and so does the end of the process for a file still open. Every
// failure (the new file cannot be made, a write, the close, the rename) is said once, naming the file
// and the reason, on the console and in ERROR.LOG, and ends the run with exit code 1 (rt::fault); the
// file that stood under name is then kept as it was.
// With failure given, a failure is the caller's to say in its own words: nothing is said, the exit
// code stays, and the reason (plain words) goes to *failure, here and at commit_file.
bool open_new_file(int number, std::string_view name, FileMode mode = FileMode::Output,
                   std::string* failure = nullptr);
// close_file of a new file; true when it is in place. failure: as for open_new_file (a file opened
// with one says nothing of a failed commit; the reason goes here when given).
bool commit_file(int number, std::string* failure = nullptr);
// The new file open as number goes in place of name at its commit instead of the name it was opened
// with (a file written under a work name that has its own place by now), when name lies on the same
// file system; false, nothing changed and no error, where it cannot (the caller then puts the file in
// place after its commit, as place_file does). A failure of the commit names the new target.
bool retarget_new_file(int number, std::string_view name);
void abandon_file(int number);
// Why a write to the new file open as number failed (plain words); empty when none failed.
std::string write_failure(int number);
// Why a read of the file open as number failed (plain words; empty when none did). What followed the
// failure read as the end of the file (a file opened for reading only) or as zeros. The failure is then
// the caller's to say; a file closed with a failed read it has not taken says so itself (rt::fault:
// console, ERROR.LOG, exit code 1).
std::string take_read_failure(int number);
// A file of the engine folder (a SET file, a vocabulary, the prompt file, the symbol library, a font or
// scales table, the colour file ...): a failed read it closes with is said as "NAME cannot be read
// (reason): check the disk or install the engine folder again.", once per file in the process (it may
// be read at more than one stage).
void engine_file(int number);
// 0 when the existing file name can be opened for reading, else the errno value of the failure
// (ENOENT for a name that leads to no file). Reports nothing.
int read_access(std::string_view name);
bool is_open(int number);
FileMode file_mode(int number);
// The native path the file was opened at (empty when not open).
std::string file_path(int number);
void close_file(int number);
// CLOSE without numbers: every open file.
void close_all();

// LINE INPUT #: one line without its terminator (CR LF, LF or CR). At the end of the file it reports
// error 62, leaves line unchanged and returns false.
bool line_input(int number, std::string& line);
// INPUT #: the next comma-separated item of a text file. Leading blanks are skipped; an item ends at a
// comma or at a line end (so an empty line is one empty item); an item that begins with a double quote
// runs to the next double quote, commas included, and the rest up to the comma or line end is dropped.
// At the end of the file it reports error 62, leaves item unchanged and returns false.
bool input_item(int number, std::string& item);
// The number (from 1) of the line the last LINE INPUT # or INPUT # took its text from; at the end of
// the file, the last line. 0 before the first read.
std::int64_t line_number(int number);
// EOF(): true when nothing is left to read.
bool at_eof(int number);
// LOF(): length of the file in bytes.
std::int64_t LOF(int number);

// PRINT #: text followed by CR LF (or nothing when newline is false).
bool print_line(int number, std::string_view text, bool newline = true);

// Binary access. SEEK position counts from 1.
std::int64_t SEEK(int number);
void seek(int number, std::int64_t position);
// GET$: up to count bytes from the current position (fewer at the end of the file).
std::string get_bytes(int number, std::size_t count);
// PUT$: bytes at the current position.
bool put_bytes(int number, std::string_view bytes);

// Random access: record n (from 1) of record_length bytes.
bool get_record(int number, std::int64_t record, std::string& data);
bool put_record(int number, std::int64_t record, std::string_view data);
int record_length(int number);

// File operations by name (through the path layer).
bool file_exists(std::string_view name);
bool kill_file(std::string_view name);                     // KILL; 53 when missing
bool rename_file(std::string_view from, std::string_view to);  // NAME ... AS
// FILECOPY: to becomes a copy of from, written whole (a new file renamed over it); a failure reports
// its error as any file operation and leaves to as it was.
bool copy_file(std::string_view from, std::string_view to);
// Puts the finished file from in place of to, whole or not at all: renamed where the file system allows
// (move: from is gone afterwards), else copied through a new file (always when move is false: the copy
// is a file of its own, never a hard link of from). Nothing to do when both name the same file. A failure is said as open_new_file says it
// (console, ERROR.LOG, exit code 1); to is then kept as it was.
bool place_file(std::string_view from, std::string_view to, bool move);
bool make_folder(std::string_view name);                   // MKDIR
// True when name is an existing folder.
bool folder_exists(std::string_view name);
// Creates the folder name with every missing folder above it; true when it exists afterwards. Reports no
// error: the caller says what could not be made.
bool make_path(std::string_view name);
// The directory search: names (without their folder) of the regular files that match a mask such as
// "*.trx", letter case ignored, by name without regard to letter case. Folders are never listed.
std::vector<std::string> DIR(std::string_view mask);

// One run per engine folder: an exclusive lock (flock) on the file "profile.lock" in the current folder
// (the engine folder), held until the process ends or unlock_engine_folder; where that file cannot be made (a read-only
// folder) the folder itself is locked. False only when another process holds the lock; a file system
// without locks lets the run go on.
bool lock_engine_folder();
// Lets the engine folder's lock go (a console waiting at its menu), its work files written out first;
// lock_engine_folder takes it again (true at once while this process holds it).
void unlock_engine_folder();
// One run per job folder: an exclusive lock (flock) on the job folder name (an existing folder) while
// this run writes there, whatever engine folder the other run works from. True when this process holds
// it (taken now or before, or where the file system has no locks); false only when another process
// holds it, or held it when this run came to the folder before (this run then never writes there: its
// files and the other run's are not mixed). unlock_job_folders lets every one go at the end of a run
// and forgets the refusals.
bool lock_job_folder(std::string_view name);
void unlock_job_folders();
// The engine's own work files: names (as the engine opens them, in the engine folder) of files that
// the engine writes for itself during a run and reads back in a later stage of the same run, and that
// nothing else reads while the run goes on. While this process holds the engine folder's lock, a work
// file closed in a mode that neither empties nor appends (Input, Binary, Random) is held here whole,
// its changes included, and the next open of its name takes it back without a look at the disk; an
// existence check of a held name answers yes. Its changes go to the disk where the file is read or
// replaced by name (a copy, a rename, its time stamps, a file put in its place or opened by another
// spelling of its name), at let_go_work_files and at the end of the process; a delete (kill_file)
// forgets them. Without the lock (it could not be taken) names are ordinary files.
void hold_work_files(const std::vector<std::string>& names);
// Writes every held work file out and treats the names as ordinary files again.
void let_go_work_files();

// The three time stamps of an existing file or folder, in local time. The creation time is the file
// system's birth time where it keeps one, else the last-write time. Reports 53/76/71 as the other
// operations by name (64 for an empty name or one with wildcards) and returns false. Nothing about the
// file is changed.
struct FileTimes {
  platform::LocalTime created, accessed, written;
  bool folder = false;
};
bool file_times(std::string_view name, FileTimes& times);

}  // namespace rt
