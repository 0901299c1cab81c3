// The texts the text editor puts into an input file: the new file's skeleton, the block templates of
// the Insert menu, the lines its two dialogues make, the control characters and special letters of the
// Insert and Character menus, and the reading of a SET file's markup characters into those menus.
//
// Texts are Windows-1252 bytes; lines are joined by CR LF.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// The 44-line skeleton of a new input file (no line end after the last line).
std::string Skeleton();

// Block template 0 to 7 in the Insert menu's order. Templates 2 and 4 are dialogues: empty here.
// text_before_cursor decides the "Header Block" (1): after an earlier "//" line only the next hole's
// lines. Out of range: empty.
std::string BlockTemplate(int index, const std::string& text_before_cursor);
extern const std::array<const char*, 8> kBlockTemplateCaptions;

// A layer line of the layer dialogue: the depth (trimmed) at the start of the line, blanks after it to
// five characters, one blank, the description with a final "." when it has none, CR LF. So the depth
// never becomes the three leading blanks of a continuation line.
std::string LayerLine(const std::string& depth, const std::string& description);
// A record line of the attribute dialogue: the depth (trimmed) at the start, blanks after it to six
// characters, ": ", the value, CR LF.
std::string AttributeLine(const std::string& depth, const std::string& value);
// The attribute dialogue's name: "^1".."^3" stand for the examples of its question.
std::string AttributeName(const std::string& answer);

// The Insert menu's control characters (13 items) and the Character menu's special letters (31), as
// their design captions in Windows-1252 bytes; an item inserts its caption's first character.
struct SymbolItem {
  std::string caption;
  bool enabled = true;
};
std::array<SymbolItem, 13> DesignSymbolItems();
std::vector<std::string> SpecialLetterCaptions();
// What an Insert menu control-character item inserts, and how far the cursor moves from the insertion
// point afterwards (the "[ ]" item leaves it between the brackets).
std::string SymbolInsertText(int index, const std::string& caption);

// Reads the markup characters of a SET file's second block into items 0 to 10 (each caption becomes
// the line's first character and the caption from its second character on). A blank or "END" line
// disables its item. Reading stops at the end of the file. False with error_text when the file cannot be
// read; the items keep what was read so far.
bool ReadSetFileSymbols(const std::string& set_file_bytes, std::array<SymbolItem, 13>& items);

// The answer of "Special Character by ASCII code": one code or a range "a-b" of codes 32..255, each
// range code that is a multiple of 10 preceded by CR LF. Empty when the answer is no number or lies
// outside 32..255.
std::optional<std::string> CharactersByCode(const std::string& answer);

}  // namespace quorvel
