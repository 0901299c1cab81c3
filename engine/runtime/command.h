// COMMAND$: the command tail of the process (the arguments after the program's name, joined by blanks),
// and the exit code the process ends with when the main program returns.
#pragma once

#include <string>

namespace rt {

void set_command_line(int argc, char** argv);
void set_command_tail(std::string tail);
const std::string& COMMAND();

// The exit code of a normal end: 0 unless a run that could not be done set another (1). The untrapped-
// error box ends the process itself with 255.
void set_exit_code(int code);
int exit_code();

}  // namespace rt
