// Fuzz harness (front end): an input file opened in the text editor from the main window, with the same
// bytes as its SET file (whose markup characters fill the Insert menu); the format check, the block
// templates inserted at the caret, the box's view of the text and back, and the file saved again.
#include "frontend/core/editcheck.h"
#include "frontend/core/editform.h"
#include "frontend/core/edittext.h"
#include "frontend_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FrontEnd fe;
  const std::string path = fe.write("FUZZ.TXT", data, size);
  const std::string set = fe.write("FUZZ.SET", data, size);
  quorvel::EditForm ed(fe.ports, fe.main.get());
  ed.Form_Load({});
  ed.OpenFromMain(path, set, {path});
  ed.mnuCheck_Click();
  const quorvel::BoxBytes back = quorvel::FromDisplay(quorvel::ToDisplay(ed.txtEdit));
  // The box gives the bytes back as they were.
  if (!back.foreign && back.bytes != ed.txtEdit) __builtin_trap();
  ed.SetSelection(static_cast<long>(ed.txtEdit.size() / 2), 0);
  for (int index : {0, 1, 3, 5, 6, 7}) ed.mnuInsBlock_Click(index);
  for (int index = 0; index < 13; ++index) ed.mnuInsSymbol_Click(index);
  ed.mnuCheck_Click();
  ed.SaveFileAs(false);
  return 0;
}
