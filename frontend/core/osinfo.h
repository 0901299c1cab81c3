// A short description of the computer for the about box, and the warning for a 32-bit engine on a
// 64-bit system.
#pragma once

#include <string>

#include "ports.h"

namespace quorvel {

// "Debian GNU/Linux 12 (bookworm) Version 12 Kernel 6.1.0-18-amd64" LF "64-bit, 8 processors";
// with bits_only just "64-bit". A failure to read the facts gives what was collected, then LF,
// "Error ...: ... in OpSysInfo:" LF "Unable to " + the failing step (callers look for "Error").
std::string OpSysInfo(bool bits_only, OsFactsPort& os);

// Empty, or a warning paragraph when the engine's word size begins "32" and the system is 64-bit.
std::string Warn64Bit(const std::string& engine_word_size, OsFactsPort& os);

// The word size of a program file from its ELF class: "32-bit", "64-bit", or empty when the file is
// no ELF program (or cannot be read).
std::string ProgramWordSize(const std::string& program_path);

}  // namespace quorvel
