// The text editor's box as the spell checker and the find and replace box see it: its bytes and
// selection, and replacements that the editor's undo ring records as those tools need.
#pragma once

#include <string>

#include "frontend/core/editform.h"
#include "frontend/core/edittools.h"
#include "frontend/core/globals.h"
#include "frontend/core/spell.h"

namespace quorvel {

class EditFormBox : public EditorBox, public SpellEditor {
 public:
  explicit EditFormBox(EditForm& f) : f_(f) {}
  std::string text() override { return f_.txtEdit; }
  long sel_start() override { return f_.SelStart; }
  long sel_length() override { return f_.SelLength; }
  std::string sel_text() override { return f_.SelText(); }
  void select(long start, long length) override {
    f_.SetSelection(start, length);
    if (selected) selected();
  }
  // Spell check: the word replaced with no snapshot of its own before it.
  void replace_selection(const std::string& t) override { replace_selection(t, true, false); }
  // Find and replace: with hold the deletion records nothing; with one_step the insertion stays in the
  // snapshot of the change before it.
  void replace_selection(const std::string& t, bool hold, bool one_step) override {
    if (hold) {
      UndoHold = true;
      f_.SetSelText("");
    }
    if (one_step) UndoKeyPress = true;
    f_.SetSelText(t);
    if (changed) changed();
  }
  void process_events() override {
    if (f_.ports().host) f_.ports().host->process_events();
  }
  // The window shows a new selection or text when these are set.
  std::function<void()> selected, changed;

 private:
  EditForm& f_;
};

}  // namespace quorvel
