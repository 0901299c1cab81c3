// Definitions of the pdf subsystem's shared state.
#include "engine/pdf/globals.h"

void reset_pdf_globals() {}
