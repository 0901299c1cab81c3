// The message line and screen primitives, and the console colour pairs, that every console screen of
// the engine uses. Rows and columns count from 1; the message line is row STATUSROW - 1, columns 1..78.
// Parameters are the engine's by-reference parameters; where a procedure writes to one (BOX, PUTONE's
// answer, AREAD's text, QUIKPUT's answer) the caller's variable changes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The text on the message line in bright white on black (cut or padded to 78 columns); beeps first
// when beep is 1. Leaves the colour at 7 on 0.
void MESSAGE(const std::string& text, std::int16_t beep);
// 78 blanks over the message line in the current colour.
void MESSOFF();
void CLEARPRO();

// True while the engine's screens are up: a run from the menu on a terminal. A one-shot run and a run
// without a terminal write their messages as lines.
bool on_console_screen();
// How long a message of show_message stands: a second, or until a key.
enum class MessageHold { kSecond, kKey };
// A message of a run's stages (the coding and drawing of holes, the result files, the join). On a
// console screen it stands on the message line as MESSAGE shows it, never scrolling the screen: cut to
// the line, the paths that stand in it (given in order) shortened to their ends so that it fits; it
// stays a second (or until a key) before anything can overwrite it, and the cursor and the colour stay
// as they were. Otherwise it is a line of its own with every path whole, as a batch run prints it.
void show_message(const std::string& text, std::int16_t beep = 0, const std::vector<std::string>& paths = {},
                  MessageHold hold = MessageHold::kSecond);
// A fault of the run shown as show_message shows it, with a line in ERROR.LOG; the run ends with 1.
void show_fault(const std::string& text, const std::vector<std::string>& paths = {});
// show_fault of a file of the user's that cannot be read (errno_value from rt::read_access), with what
// to do where the user can mend it: "holes.txt cannot be read (permission denied): give read access to
// it and start the run again."
void show_unreadable(const std::string& name, int errno_value);

// " " + text + " " (at most 78 characters) centred in 78 columns on the row, in the current colour.
void ROWCENTR(std::int32_t row, const std::string& text);
// A one-line question on the message line; a non-empty typed entry (its first longest characters)
// replaces answer, Enter alone keeps it. Columns 3..78 of the message line come back afterwards in pair 1.
// A question whose entry may be longer than 24 characters shows it scrolling inside the rest of the
// message line (its end in view), never past column 78; when that question leaves the entry fewer than
// 20 columns, it stands on the row above instead (put back afterwards) and the entry has the line.
// With escaped, Esc leaves the question: the answer stays as it was and *escaped is set (without it,
// Esc is ignored).
void PUTONE(const std::string& question, std::string& answer, std::int32_t longest = 24, bool* escaped = nullptr);
// The columns of the message line that PUTONE gives a question (its closing blank included): a
// question for a long entry is cut there.
std::int32_t putone_question_room(std::int32_t longest);
// The longest entry PUTONE can take: questions whose whole answer counts pass it.
constexpr std::int32_t kWholeEntry = 10000;
// The longest folder or file name a question takes: a whole path of this platform.
constexpr std::int32_t kNameLength = 255;
// count characters of the screen from (row, col) into text; only characters, never colours.
void AREAD(std::string& text, std::int32_t row, std::int32_t col, std::int32_t count);
// A double-lined frame with a blank interior; the clamps to an 80 x 25 screen are written back.
void BOX(std::int32_t& top, std::int32_t& left, std::int32_t& height, std::int32_t& width);
// The shadow below and right of the frame BOX drew with the same values.
void DROPSHAD(std::int32_t top, std::int32_t left, std::int32_t height, std::int32_t width);
// A one-key question at (row, col): the key's character (the scan code for an extended key) goes
// into answer; the line is blanked afterwards.
void QUIKPUT(std::int16_t row, std::int16_t col, const std::string& question, std::string& answer,
             const std::string& hint);
// Makes colour pair |i| current, foreground and background swapped when i is negative; 0 changes nothing.
void SETCOLOR(std::int32_t i);
