// Globals of the front end.
#include "globals.h"

namespace quorvel {

std::string AppName = "quorvel";
std::string HelpFile;
std::string EngineVersion;
std::string CurrentStep;
bool PauseBeforeExit = false;
bool UndoHold = false;
bool UndoKeyPress = false;

void reset_globals() {
  AppName = "quorvel";
  HelpFile.clear();
  EngineVersion.clear();
  CurrentStep.clear();
  PauseBeforeExit = false;
  UndoHold = false;
  UndoKeyPress = false;
}

}  // namespace quorvel
