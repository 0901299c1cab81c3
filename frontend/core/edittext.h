// The text editor's text: the file's bytes (Windows-1252, line ends as they stand) and how the window
// shows them.
//
// Every algorithm of the editor runs on the bytes and counts positions in bytes, so a CR LF pair is two
// characters. The window's text box knows only line breaks: it shows a CR LF pair as a line break and
// every other control byte except Tab (a lone CR, a lone LF, ...) as its visible control picture
// (U+2400 + code: U+240D for CR, U+240A for LF), which maps back to the byte. So the bytes survive the
// round trip through the box, and a line break typed in the box is a CR LF pair.
#pragma once

#include <optional>
#include <string>

namespace quorvel {

// The Unicode character of a Windows-1252 byte. The five bytes the code page leaves free (129, 141,
// 143, 144, 157) stand for the control characters of the same code, as Windows maps them.
char16_t Cp1252ToUnicode(unsigned char b);
// The Windows-1252 byte of a character; empty when the code page cannot hold it.
std::optional<unsigned char> UnicodeToCp1252(char16_t c);
// Text of the front end's own (UTF-8) strings, such as the Insert menu's captions, as bytes.
std::string Utf8ToCp1252(const std::string& utf8);
std::string Cp1252ToUtf8(const std::string& bytes);

// The text box's view of the bytes: CR LF a line break ("\n"), other control bytes but Tab their
// control pictures, every other byte its Windows-1252 character.
std::u16string ToDisplay(const std::string& bytes);

// The bytes of the box's text. A line break ("\n", U+2028 or U+2029) is CR LF; a control picture
// U+2400..U+241F is its control byte. A character Windows-1252 cannot hold becomes "?" (one per
// UTF-16 unit, so positions still map one to one) and the first one is reported with its line.
struct BoxBytes {
  std::string bytes;
  std::optional<char32_t> foreign;  // the first character that has no byte
  long foreign_line = 0;            // its line, counted from 1
};
BoxBytes FromDisplay(const std::u16string& display);

// Positions between the two views: a display position (UTF-16 units of the box) and a byte position.
// A byte position between the CR and the LF of a pair maps to the line break's position.
long DisplayToByte(const std::string& bytes, long display_pos);
long ByteToDisplay(const std::string& bytes, long byte_pos);

// Every Tab replaced by four blanks.
std::string TabsToBlanks(const std::string& s);

// Name case: lower case, upper case at the start of each word; a word starts at the first character
// and after any character that sorts before the letters (digits, signs, blanks) other than the
// apostrophe. So "2nd" becomes "2Nd" and "o'neil" "O'neil".
std::string Proper(const std::string& text);

}  // namespace quorvel

namespace quorvel {

// UTF-8 text (the clipboard's, the front end's own strings) as UTF-16 units and back.
std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace quorvel
