// The text editor's block-structure check of an input file: the walk through the slash-delimited
// blocks (header "/" layers "/" notes "//" ... "///"), the first structural fault and where it is, the
// number of holes, and the layer lines that start with no number.
//
// Lines are split at CR LF only (a lone CR or LF stays inside its line). A layer line that begins with
// three blanks (a Tab counting as four) continues the layer before it, as the engine joins it; a layer
// line's leading number may have a sign, a decimal point or comma and a final "+".
#pragma once

#include <string>

namespace quorvel {

struct BlockCheck {
  // 0 header, 1 layers, 2 notes, 3 the end of the data ("///") was reached.
  int state = 0;
  bool fault = false;         // a structural fault (or the end of the text came too early)
  std::string message;        // the fault's text; empty when the structure is correct
  std::string hole_label;     // "Hole 1", or the hole's own "Hole Number : BH01" line
  long sel_start = 0;         // where the cursor goes for a fault (selection length 4)
  long holes = 0;             // holes completed ("//" lines)
  std::string unnumbered;     // "\n" + label + ", Line " + n + ": " + the first 30 characters, per line
  // The lines after the End-of-data "///" that read as input of a hole (LooksLikeHoleInput): the engine
  // reads none of them. Free comment text there is not counted.
  long lines_after_end = 0;
  long first_after_end_line = 0;     // its line number (from 1)
  long first_after_end_start = 0;    // where it begins
  std::string first_after_end;       // its first 30 characters, trimmed
};

// Where the line of the End-of-data "///" begins, when one ends the data before pos (a hole inserted at
// pos would be left out by the engine); npos otherwise.
size_t EndOfDataLineBefore(const std::string& text, size_t pos);

BlockCheck CheckBlockStructure(const std::string& text);

// True when a line reads as input of a hole, as the engine would take it before "///": a slash line
// ("/" or "//"), a layer line (StartsWithNumber), a header line "keyword : value" whose keyword
// (without points, hyphens and blanks, any letter case) is one of the header keywords of the shipped
// conversion vocabulary, a notes heading ("NOTES:", "REMARKS"), or a line that begins an attribute,
// sample or abbreviation block ("ATTRIBUTE", "SAMPLES:", "ABBREVIATION"). Other text is a comment.
bool LooksLikeHoleInput(const std::string& line);

// The continuation rule of the input file, as the engine reads it: a line whose first three characters
// are blanks (a Tab counting as four) and that holds more than blanks continues the line before it (the
// engine passes blank lines over). Wrap writes continuation lines with kContinuationIndent.
bool IsContinuationLine(const std::string& line);
inline constexpr const char* kContinuationIndent = "    ";

// True when a layer line's first three characters (Tabs as four blanks) read as a number: blanks
// around it, a sign, digits with one decimal point or comma, a final "+".
bool StartsWithNumber(const std::string& expanded_line);

// True when the text holds a CR or an LF that is not part of a CR LF pair.
bool HasOrphanLineEnds(const std::string& text);
// The text without its lone CR and lone LF characters (CR LF pairs stay).
std::string RemoveOrphanLineEnds(const std::string& text);

}  // namespace quorvel
