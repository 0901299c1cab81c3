// What every fuzz harness of the readers stands on.
//
// Each harness is one entry point, LLVMFuzzerTestOneInput, that hands its bytes to one reader of a file
// the engine did not write, the way the engine's start-up or a run hands it the file. The entry point
// runs in an engine folder of its own (a temporary copy of data/, the current folder for the process)
// with a console without a terminal. What an unattended run must never do is a finding and ends the
// process with abort(): an untrapped error (its box, which would end the run with 255), or an end of
// the process with a code other than 0 or 1. A deliberate end with 0 or 1 ends only the one input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace fuzz {

// Makes the engine folder and the console on the first call; later calls do nothing.
void engine_folder();

// Fresh engine globals with their arrays, the control codes of the main program and the shipped prompt
// texts, as after the engine's start-up; also makes the engine folder.
void fresh_engine();

// Writes the bytes as a file of the engine folder (name relative to it, "/" separators) and removes
// ERROR.LOG, so that the folder does not grow from input to input.
void write(const std::string& name, const std::uint8_t* data, std::size_t size);

// Restores a file of the engine folder from data/ (or removes it when data/ has none).
void restore(const std::string& name);

// Runs one reader call: a deliberate end of the process with 0 or 1 ends only the call; every file
// left open is closed afterwards.
void run(const std::function<void()>& reader);

// The sheet as the layout tests lay it out: three fixed-pitch fonts of 25 dots a character, lines of 50
// dots, an A4 page of 3200 dots with a head of 600 and a foot of 300, metric scales, a one-shot PDF run.
void fixed_pitch_sheet();

// The three fonts of the SET file's printer codes, every character 10 dots wide, on an A4 page.
void pdf_fonts();

// A borehole log's first page and its first column, as the log tests draw one, on device (1 PDF,
// 2 HP-GL/2, 3 DXF, else the printer).
void log_column(std::int32_t device);

// A one-shot run as `profile @run.dat` makes it, its run file naming the SET file STANDARD.SET, the
// input file (a file of the engine folder) and the device (PDF, PGL, DXF or PCL): the start-up, the
// conversion, the layout and the drawing of every hole, its log and the legend. Its results go to
// drive_c/ of the engine folder (drive C:), emptied afterwards.
void one_shot(const std::string& input, const std::string& device);

// The four devices a run draws on, by their run-file words.
inline const char* const kDevices[] = {"PDF", "PGL", "DXF", "PCL"};

// Draws into a page of device: a PDF page stream, or a plot file with its head.
void draw(std::int32_t device, const std::function<void()>& drawing);

}  // namespace fuzz
