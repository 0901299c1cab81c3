// STARTSCR: the start banner.
#include "engine/frame/console.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"
#include "platform/console.h"

void STARTSCR() {
  RT_TRAP(trap, "STARTSCR");
  auto& con = platform::console();
  con.cls();
  const std::string title = "V e l t r a x";
  ROWCENTR(2, title);
  ROWCENTR(3, std::string(title.size(), '='));
  ROWCENTR(6, "Version " + VERSION);
  static const char* const lines[6] = {
      "Soil profiles and borehole logs",
      "drawn from the field descriptions of trial pits and boreholes",
      "Copyright (C) the Veltrax authors. All rights reserved.",
      "Soil symbols, vocabularies and fonts: see the files in the engine folder",
      "Output as PDF, PCL, HP-GL/2 or DXF",
      "Questions and reports: see the README in the engine folder",
  };
  for (int i = 0; i < 6; ++i) ROWCENTR(9 + i, lines[i]);
  con.locate(17, 1);
}
