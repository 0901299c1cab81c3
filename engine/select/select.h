// Procedures of the hole selection subsystem that other parts call.
#pragma once

// The first stage of a sheet run: the input file (the run file's in a one-shot run, else the one the
// user picks), then the conversion and the whole chain of the run. Returns when the run is over or the
// choice was cancelled.
void PROSHOW();
// The symbol test: the legend of a range of library symbols on the current output device.
void PROTEST();
// The hole catalogue: lists the coded hole files (".TRX") of the current folder and runs the hole
// selection and coding over them; returns when that is done. Called by the conversion at its end.
void PROCAT();
