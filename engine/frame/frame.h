// Procedures of the engine frame that other parts call.
#pragma once

#include <cstdint>
#include <string>

// Work-channel numbering constants.
void PROCOM();
// Creates every shared array of the frame (once).
void PRODIM();
// Default prompts, console colours, start screen, "lastrun", choice of the SET file.
void STARTUP();
// Loads the numbered texts of a prompt file into PROMPT().
void FETCHPRO(std::string& name);
// Reads the four menus of the prompt file PROMPTNAME into MENUITEM1..3, MENUFIRST, MENUCOUNT and
// REVERSEWORD.
void FETCHMENUS();
// Reads the command tail (a run file when it holds "@", else "N/value" words) into the run settings
// and RUNFLAGS. On return cmd holds the joined item text.
void READRUNS(std::string& cmd);
// Splits one "N/value" word: number = N, value = the text after the first "/"; a word without "/"
// gives number -1 and the whole word as value.
void BREAKOUT(const std::string& token, std::int32_t& number, std::string& value);
// Console colours from the colour file; the start screen.
void FETCHCOL(std::string name);
void STARTSCR();
