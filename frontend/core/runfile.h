// The run file "@runfile.dat": the one message the front end sends the engine.
//
// Nine lines, a tenth ("9/       debug = YES") only when asked for and understood by the engine; each
// line is the item number, "/", the key right-aligned in 12 characters, " = " and the value, ended by
// CR LF. The engine takes the item number from the first two characters and the value from the text
// after the first "=", trimmed; a later line for the same item wins. So no value may hold a line
// break: the writer refuses every value that holds a character below 32.
#pragma once

#include <optional>
#include <string>

namespace quorvel {

struct RunFileItems {
  std::string setupfile;
  std::string inputfile;
  std::string output;  // "PDF", "PGL", "DXF"
  std::string activity;
  std::string output_addr;
  std::string scale;
  std::string summary;  // "YES" or ""
  std::string targetcopy;
  bool debug = false;
};

// The file's bytes.
std::string ComposeRunFile(const RunFileItems& items);

// The name of the first item whose value holds a character below 32 ("Setup File", "Input File",
// "Output Path", "Scale", "Output File"), or empty when every value is clean.
std::optional<std::string> RefusedRunFileItem(const RunFileItems& items);

// The output word of an output type: "PDF" for the PDF types, else the type itself ("PGL", "DXF").
std::string OutputWord(const std::string& output_type);

// The result name for an output word: only the file name's ".PDF" extension becomes "." + word, so a
// folder named "pdfs" stays as it is.
std::string TargetForWord(const std::string& target, const std::string& word);

// The activity as the engine of a version reads it: the list index from "6005" on, else its text.
std::string ActivityValue(int index, const std::string& text, const std::string& engine_version);

// The setup file as the run file names it: empty for an empty entry; else the absolute name of the
// file, a name without a folder being looked for in the engine folder; empty when it cannot be found
// (the engine then uses STANDARD.SET).
std::string SetupFileValue(const std::string& setup_entry, const std::string& engine_folder);

// The symbol test's input: engine folder + "Examples/Symbol" + counter (two digits at least) + ".txt".
std::string SymbolTestInput(const std::string& engine_folder, int counter);

// Writes the file at engine folder + "@runfile.dat" (the front end's own current folder is not
// changed). Returns an error text, empty on success.
std::string WriteRunFile(const std::string& engine_folder, const std::string& bytes);

}  // namespace quorvel
