// The selection screen of an interactive run (the passes of PROSELEC).
#pragma once

// Pass after pass: the grid of the catalogue's holes, the answers that choose holes, the scale and
// summary questions and the coding of the chosen holes; ends with a pass that chooses nothing.
void selection_screen();
