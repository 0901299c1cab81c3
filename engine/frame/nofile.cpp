// NOFILE: tells the user that a file is missing and waits for a key; missing_file: the same for a file
// the run needs, written down in ERROR.LOG too.
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "platform/console.h"

void NOFILE(const std::string& file) {
  RT_TRAP(trap, "NOFILE");
  auto& con = platform::console();
  trap.step("0001");
  con.print("", true);
  trap.step("0002");
  con.print("File not found : " + file, true);
  trap.step("0003");
  con.flush();
  con.wait_key();
}

void missing_file(const std::string& file) {
  NOFILE(file);
  rt::fault_logged_once("File not found : " + file);
}
