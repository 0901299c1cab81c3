// Procedures of the run layer: the main program, the main menu and run control, and the stages of a
// run that call the stages below them in turn. Nothing below this layer calls them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
// The names of the engine's own work files (the work channels' files in the engine folder): written
// and read back within a run, deleted at its end; the engine program holds them in memory while it
// holds the engine folder's lock (rt::hold_work_files).
const std::vector<std::string>& work_file_names();
// Before a sheet run draws anything: the engine folder can take the run's work files (no folder has
// the name of one, new files can be made and written there). False, with one line on the console and
// in ERROR.LOG that says what the user must do and exit code 1, when it cannot.
bool RUNCHECK();
