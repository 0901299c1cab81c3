// Main menu and run control.
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/command.h"
#include "engine/runtime/error.h"

// Stand-in until the main menu lands: only the run settings of the command tail are read.
void PROMENU() {
  RT_TRAP(trap, "PROMENU");
  std::string cmd = rt::COMMAND();
  if (!cmd.empty()) READRUNS(cmd);
}
