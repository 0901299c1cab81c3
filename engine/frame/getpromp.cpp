// Prompt file reader (numbered texts between BEGIN and END).
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"

// Stand-in until the prompt file reader lands: the texts stay empty.
void FETCHPRO(std::string& name) {
  RT_TRAP(trap, "FETCHPRO");
  (void)name;
}
