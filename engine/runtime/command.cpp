// The command tail.
#include "command.h"

namespace rt {
namespace {
std::string& tail() {
  static std::string t;
  return t;
}
int code = 0;
}  // namespace

void set_command_line(int argc, char** argv) {
  std::string t;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) t += ' ';
    t += argv[i];
  }
  tail() = t;
}

void set_command_tail(std::string t) { tail() = std::move(t); }

const std::string& COMMAND() { return tail(); }

void set_exit_code(int c) { code = c; }
int exit_code() { return code; }

}  // namespace rt
