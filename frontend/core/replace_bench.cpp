// Times Replace All of the find box on a text of about 200 KB holding 10,000 matches, on a text box that
// keeps the text as the editor does (every replacement changes the whole text in place).
#include <chrono>
#include <cstdio>
#include <string>

#include "frontend/core/editbox.h"
#include "frontend/core/edittools.h"
#include "frontend/core/mainform.h"
#include "frontend/core/testing/fakes.h"
#include "frontend/core/testing/textbox.h"

using Box = quorvel::fakes::EditBox;

int main() {
  std::string text;
  const std::string line = "1.20  Firm brown sandy CLAY with some gravel of Sandstone.\r\n";  // two matches
  while (text.size() < 200 * 1024 || text.size() / line.size() * 2 < 10000) text += line;
  Box box(text);
  quorvel::fakes::ScriptedMessageBox boxes;
  quorvel::Ports ports;
  ports.msgbox = &boxes;
  quorvel::FindReplaceForm form(ports, box);
  form.FindReplace("R");
  form.txtFind = "sand";
  form.txtReplace = "SAND";
  const auto start = std::chrono::steady_clock::now();
  form.cmdReplaceAll_Click();
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("Replace All in %zu KB (text box alone): %s after %.1f ms\n", text.size() / 1024,
              form.ReplaceReport.substr(0, form.ReplaceReport.find('\n')).c_str(), ms);

  // The same through the editor's logic: its undo ring keeps a copy of the text at each replacement.
  quorvel::fakes::MemorySettings settings;
  ports.settings = &settings;
  quorvel::MainForm main_form(ports);
  quorvel::EditForm editor(ports, &main_form);
  editor.Form_Load({});
  quorvel::UndoHold = true;
  editor.SetText(text);
  editor.reset_undo();
  editor.box_edits.clear();
  quorvel::EditFormBox edit_box(editor);
  quorvel::FindReplaceForm through(ports, edit_box);
  through.FindReplace("R");
  through.txtFind = "sand";
  through.txtReplace = "SAND";
  const auto again = std::chrono::steady_clock::now();
  through.cmdReplaceAll_Click();
  const double ms2 = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - again).count();
  std::printf("Replace All in %zu KB (the editor's logic and undo ring): %s after %.1f ms\n", text.size() / 1024,
              through.ReplaceReport.substr(0, through.ReplaceReport.find('\n')).c_str(), ms2);
  return 0;
}
