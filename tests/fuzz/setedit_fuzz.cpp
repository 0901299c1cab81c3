// Fuzz harness (front end): a SET file opened in the SET editor (read, its controls filled, the logo
// matrix drawn), changed, saved over itself and opened again.
#include "frontend/core/setedit.h"
#include "frontend_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FrontEnd fe;
  const std::string path = fe.write("FUZZ.SET", data, size);
  quorvel::SetEditForm ed(fe.ports, *fe.main);
  if (!ed.SetFileRead(path) || !ed.SetDataLoad()) return 0;
  for (int tab = 0; tab <= 4; ++tab) ed.SSTab1_Click(tab);
  for (int kind = 0; kind <= 5; ++kind) ed.cmdLogoDraw_Click(kind);
  ed.txtDescription += " (checked)";
  ed.txtDescription_Change();
  ed.SetFileSave(0);
  quorvel::SetEditForm again(fe.ports, *fe.main);
  if (again.SetFileRead(path)) again.SetDataLoad();
  return 0;
}
