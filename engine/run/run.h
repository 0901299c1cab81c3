// Procedures of the run layer: the main program, the main menu and run control, and the stages of a
// run that call the stages below them in turn. Nothing below this layer calls them.
#pragma once

#include <cstdint>
#include <string>

// Main program: constants, globals, start-up, main menu. Returns when the engine is to end.
void PBMAIN();
// Main menu and run control: one go of a one-shot run, or the main console menu. Returns at the end.
void PROMENU();
// Prints text on the row so that its first "=" stands in column 62 (a text without one begins in
// column 63).
void FLUSHRIG(std::int32_t row, const std::string& text);
// The first stage of a sheet run: the input file (the run file's in a one-shot run, else the one the
// user picks), then the conversion and, when it is complete, the hole catalogue with the rest of the
// chain. Returns when the run is over or the choice was cancelled.
void PROSHOW();
// The symbol test: the legend of a range of library symbols on the current output device.
void PROTEST();
