// Procedures of the sheet subsystem that other parts call. All parameters by reference.
#pragma once

// --- the sheet stages of a run (called by the hole coder through its hand-over, which the run layer
// fills with them) ---
// Lays out and draws the sheet of the hole the coder has just read (or, after PROSUMMA, the summary).
// STAND-IN for now: one console line per hole, nothing drawn.
void PROFORMA();
// Builds the summary (legend) sheet's data from the run's symbols (SUMMARYKEY). STAND-IN: one line.
void PROSUMMA();
