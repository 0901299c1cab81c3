// A text box for the spell checker's tests and benchmark: a text and a selection, as the editor keeps them.
#pragma once

#include <string>
#include <utility>

#include "frontend/core/edittools.h"
#include "frontend/core/spell.h"

namespace quorvel::fakes {

class TextBox : public SpellEditor {
 public:
  explicit TextBox(std::string t, long caret = 0) : text_(std::move(t)), start_(caret) {}
  std::string text() override { return text_; }
  long sel_start() override { return start_; }
  long sel_length() override { return length_; }
  std::string sel_text() override { return text_.substr(static_cast<size_t>(start_), static_cast<size_t>(length_)); }
  void select(long start, long length) override { start_ = start, length_ = length; }
  void replace_selection(const std::string& t) override {
    text_.replace(static_cast<size_t>(start_), static_cast<size_t>(length_), t);
    length_ = static_cast<long>(t.size());
  }
  std::string text_;
  long start_ = 0, length_ = 0;
};

// The find and replace box's view of a text box: replacing the selection puts the caret after the new
// text; it counts the replacements made with hold and the undo steps they would take.
class EditBox : public EditorBox {
 public:
  explicit EditBox(std::string t) : text_(std::move(t)) {}
  std::string text() override { return text_; }
  long sel_start() override { return start_; }
  long sel_length() override { return length_; }
  void select(long s, long l) override { start_ = s, length_ = l; }
  void replace_selection(const std::string& t, bool hold, bool one_step) override {
    text_.replace(static_cast<size_t>(start_), static_cast<size_t>(length_), t);
    start_ += static_cast<long>(t.size());
    length_ = 0;
    holds += hold ? 1 : 0;
    steps += one_step ? 0 : 1;  // each change that is not joined to the one before is one Undo
  }
  std::string text_;
  long start_ = 0, length_ = 0;
  int holds = 0, steps = 0;
};

}  // namespace quorvel::fakes
