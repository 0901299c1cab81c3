// The "/" notation of printer control codes in SET files.
#pragma once

#include <string>

// result = source with every "/" and the three characters after it turned into the one character whose
// code is their number (modulo 256): "/027E/038" is ESC, "E", "&". Other characters are copied.
void CONTROLC(std::string& result, const std::string& source);
