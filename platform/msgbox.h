// The platform message box with OK and Cancel, and the process end.
//
// On a terminal it is an OK/Cancel question; without one the text goes to standard error and the
// answer is Cancel. Tests install their own answer.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace platform {

enum class BoxAnswer { Ok, Cancel };

BoxAnswer message_box(std::string_view text);
void set_message_box(std::function<BoxAnswer(std::string_view)> handler);

// Ends the process with the exit code. Tests may replace it (the replacement must not return normally:
// it throws or ends the process itself).
[[noreturn]] void end_process(int code);
void set_end_process(std::function<void(int)> handler);

}  // namespace platform
