// The engine program: the engine folder's lock, the console chosen for this process, then the main
// program; the exit code is 0 unless something the run was asked for could not be done.
#include <malloc.h>

#include <cstdio>

#include "engine/run/run.h"
#include "engine/runtime/command.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  // Blocks of 128 KiB and more come from the system and go back to it when freed (the C library would
  // otherwise raise that bound after the first such block is freed and keep the big blocks a long run
  // lets go of, such as the earlier sizes of a growing list, in the process's memory).
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  rt::set_command_line(argc, argv);
  // Two runs in one engine folder would delete and overwrite each other's work files: a second one
  // touches nothing and says why.
  if (!rt::lock_engine_folder()) {
    static constexpr char kRefused[] =
        "Another run is using this engine folder; this run ends without doing anything. "
        "Start it again when the other run has ended.";
    std::fputs(kRefused, stderr);
    std::fputs("\n", stderr);
    // ERROR.LOG is only appended to, a line at a time, so the other run's lines stay whole.
    RT_TRAP(trap, "main");
    trap.step("0001");
    rt::log_note(kRefused);
    return 1;
  }
  rt::hold_work_files(work_file_names());
  platform::set_console(platform::make_process_console());
  PBMAIN();
  rt::close_all();
  platform::console().flush();
  platform::set_console(nullptr);
  return rt::exit_code();
}
