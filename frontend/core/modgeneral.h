// Shared procedures of the front end: file and folder tests, path splitting, tokens, list helpers,
// the escape expansion of the find and replace box, the clean-up of the engine's work files and the
// output file name rule.
//
// Paths: "\" and "/" both separate parts; a folder that the front end completes gets a final "/".
// Names go through the platform path layer, so "C:\vlx7000\PROMPTS.ENG" finds ~/vlx7000/prompts.eng
// (drive letters mapped, existing names matched without regard to letter case).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ports.h"

namespace quorvel {

// The engine program in an engine folder.
inline constexpr const char* kEngineProgram = "profile";

// Text helpers. Comparisons "as text" ignore the letter case of ASCII letters.
std::string Trim(const std::string& s);
std::string ToUpper(std::string s);
bool EqualText(const std::string& a, const std::string& b);
bool ContainsText(const std::string& haystack, const std::string& needle);
bool StartsWithText(const std::string& s, const std::string& prefix);
std::string ReplaceAllText(const std::string& s, const std::string& from, const std::string& to);
bool IsSeparator(char c);
bool EndsWithSeparator(const std::string& s);
// The text with a final "/" added when it ends in neither "/" nor "\".
std::string WithFinalSeparator(const std::string& s);

// A combo box or list box: its items, its edit text and its selection (-1: none).
struct ListState {
  std::vector<std::string> items;
  std::string text;
  int index = -1;
};

// Writes bytes as the whole content of the file at a native path, with the engine's writer of whole
// files (platform/wholefile.h): into a new file beside it, forced to disk, that then takes its place,
// so a failed write leaves the old file as it was. A link is followed (also one that leads nowhere
// yet); the file keeps its permission bits exactly. Returns 0, or the errno of the failure.
int ReplaceFileContents(const std::string& path, const std::string& bytes);
// True for a file of at least one byte; false for a missing file, a folder, an empty file, any error.
bool Exists(const std::string& path);
// True for a folder that can be entered. The process's current folder is not changed.
bool ExistDir(const std::string& path);
// Linux has no 8.3 names: the absolute (not symlink-resolved) path of an existing file or folder,
// empty otherwise. A folder asked for with a final separator keeps one ("/").
std::string ShortPath(const std::string& path);
// The text up to and including the last separator before the last character; empty when none.
std::string FolderOf(const std::string& path);
// After dropping one final separator: the text after the last separator (all of it when none).
std::string FileTitleOf(const std::string& path);
// Cuts the text before the first delimiter off source and returns it (trimmed of blanks); source
// loses it and the delimiter. Without the delimiter the whole source is returned and source empties.
std::string NextTokenTrim(std::string& source, const std::string& delimiter);
std::string NextToken(std::string& source, const std::string& delimiter);
// Removes every occurrence (any letter case) of the engine folder, with its final separator.
std::string StripEngineFolder(const std::string& path, const std::string& engine_folder);
// A path longer than 80 characters becomes exactly 80: its start, "...", and the last separator with
// the file-name part (cut to its last 70 characters). The caller's text is changed too.
std::string ShortenForDisplay(std::string& path);
// "One file", "0 files", "2 boxes".
std::string Plural(long count, const std::string& noun, const std::optional<std::string>& plural = {});
// The input name without its extension + ".PDF"; with an output folder, that folder (as typed when the
// engine's version text is above "7000", else its ShortPath) + the file-name part.
std::string OutputFileName(const std::string& input_name, const std::string& output_folder,
                           const std::string& engine_version);
// "This item is not available yet!"
void NotAvailableYet(MessageBoxPort& box);
// Selects the first item equal to the text (any letter case), or beginning with it when prefix is
// true, and returns its index; without a match the selection stays and the result is 0 when the
// selection is 0 or none, else -1.
int SelectListItem(const std::string& text, ListState& list, bool prefix = false);
// Recent-file rule: found at the top, nothing moves; found lower, moved to the top; missing, inserted
// at the top (no length limit). The box's text becomes the file.
void AddFileToList(const std::string& file, ListState& list);
// Deletes the engine's work files ("@runfile.dat", "*.TRX", "PAGER.*", ...) from the engine folder,
// ignoring errors. Only a folder that holds the engine program is touched. Returns the number deleted.
int DeleteTempFiles(const std::string& engine_folder);
// "^p" becomes CR LF, "^t" a tab, "\" with three characters of a number the character of that code.
// Empty when such a code lies outside 0..255.
std::optional<std::string> ExpandEscapes(const std::string& text);

}  // namespace quorvel
