// Globals of the front end, shared by its windows (one process, one thread).
#pragma once

#include <string>

namespace quorvel {

extern std::string AppName;        // application name of the settings store: "quorvel"
extern std::string HelpFile;       // folder of the installed help pages, with a final "/"
extern std::string EngineVersion;  // version text of the engine in the engine-folder box
extern std::string CurrentStep;    // what the running procedure is doing, for its error messages
extern bool PauseBeforeExit;       // "Pause before Exiting": shared by the Settings menus, never stored
extern bool UndoHold;              // the text editor's next text change is the program's own: not recorded
extern bool UndoKeyPress;          // the text editor's next text change continues the current snapshot

// Back to the values at program start (tests).
void reset_globals();

}  // namespace quorvel
