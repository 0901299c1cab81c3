// COMMAND$: the command tail of the process (the arguments after the program's name, joined by blanks).
#pragma once

#include <string>

namespace rt {

void set_command_line(int argc, char** argv);
void set_command_tail(std::string tail);
const std::string& COMMAND();

}  // namespace rt
