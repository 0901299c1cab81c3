// Procedures of the hole selection subsystem that other parts call.
#pragma once

// The first stage of a sheet run: the input file (the run file's in a one-shot run, else the one the
// user picks), then the conversion and the whole chain of the run. Returns when the run is over or the
// choice was cancelled.
void PROSHOW();
// The symbol test: the legend of a range of library symbols on the current output device.
void PROTEST();
