// The engine folder and the engine's version text.
//
// The front end never asks the engine for its version: it reads the version text out of the engine
// folder's files and gates its behaviour on it. Version texts are compared only as text (letter case
// ignored, character by character, a shorter prefix first): "7001" < "7001.16" < "7002", and
// "NOT found" sorts above every digit string.
#pragma once

#include <string>

#include "ports.h"

namespace quorvel {

inline constexpr const char* kMinimumEngine = "6008";  // lowest engine that can be run
inline constexpr const char* kLatest6000 = "6008";     // newest engine of the 6000 generation
inline constexpr const char* kLatest7000 = "7022";     // newest engine this front end knows

// <0, 0, >0 as a is below, equal to or above b.
int CompareVersionText(const std::string& a, const std::string& b);

// The version text of the engine in a folder (a final "/" is added to the caller's folder when it has
// none): the four characters after "Version " in PROMENU.TBC when that file exists (searched from byte
// 46500), else the first run of at least four digits beginning "701" or "702" in the engine program
// (searched from byte 710000, then from byte 46500). Special results: "(not found)" (PROMENU.TBC without
// the word), "NOT found" (no engine program), "<7000 not found>", "<" + error text + ">".
std::string GetEngineVersion(std::string& folder);
std::string GetEngineVersion(const std::string& folder);

// The native form of a folder as the folder box shows it: drive letters mapped, the home folder
// written out, a final "/". An unmapped name comes back as written (with a final "/").
std::string DisplayFolder(const std::string& name);

// Searches the home folder's vlx?000 folders (and, when the user asks, the top-level folders of the
// drive letters typed, each mapped as the engine maps it) for engine folders and shows what it found,
// newest first. True when at least one was found. Uses the message box, input box and window host.
bool CheckInstalled(const std::string& filter, const Ports& ports);

}  // namespace quorvel
