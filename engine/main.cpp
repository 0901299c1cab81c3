// The engine program: the console chosen for this process, then the main program; the exit code is 0
// unless a run could not be done.
#include "engine/run/run.h"
#include "engine/runtime/command.h"
#include "engine/runtime/files.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  rt::set_command_line(argc, argv);
  platform::set_console(platform::make_process_console());
  PBMAIN();
  rt::close_all();
  platform::console().flush();
  platform::set_console(nullptr);
  return rt::exit_code();
}
