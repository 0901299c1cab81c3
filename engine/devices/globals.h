// Shared state of the engine's devices subsystem. reset_devices_globals() restores the state at process start.
// What lower subsystems read lives with them (the PDF writer's inputs are in engine/pdf/globals.h).
#pragma once

#include <cstdint>
#include <string>

// Alignment of the next text PRINTEXT draws: 0 or 1 left, 4 centred, 7 right; 2, 3, 5, 6, 8 and 9 also
// move the point up by half or all of the text's height.
extern std::int32_t TEXTORIGIN;
// Shade of the strokes that hatch a bar on the pen plotter and in DXF: SHADE / 10 + 1 strokes in every
// 10 dots. (The console SET editor's SHADE is the editor's background text, another variable.)
extern std::int32_t BARSHADE;
// File number of the plot output of a hole (HP-GL/2 and DXF: one file for all its pages); the sheet takes
// it at the start of each hole, PAGEFILE holds the same number.
extern std::int32_t PLOTFILE;

void reset_devices_globals();

// --- the plot file of HP-GL/2 and DXF ---
extern std::string ESC;                        // the escape character
extern std::int32_t PAPERX, PAPERY;            // paper width and height in plotter units (1/40 mm)
extern std::int32_t P1X, P1Y, P2X, P2Y;        // scaling points of the plotting area
extern double XSCALE, YSCALE, XOFFSET, YOFFSET;            // plotter units per dot and the offsets
extern double DXFXSCALE, DXFXOFF, DXFYSCALE, DXFYOFF;      // the DXF copies of the scale
extern double DXFUNIT;                         // plotter units per dot: 25.4 x 40 / 300, 25.4 in single precision
extern std::int32_t PENSTATE;                  // -1 while the pen is down
extern bool plot_open;                         // a plot file is open (GOOPEN until GOCLOSE)
