// STAND-IN until the text of word-processor documents is extracted: MSVLX writes "workfile.txt" with
// only its first line, so that the conversion finds no holes in such a document and says so.
#include "engine/convert/convert.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "platform/console.h"

void MSVLX() {
  RT_TRAP(trap, "MSVLX");
  const int f = rt::FREEFILE();
  if (rt::open_file(f, "workfile.txt", rt::FileMode::Output)) {
    rt::print_line(f, "WORDPAD");
    rt::close_file(f);
  }
  platform::console().print("Word-processor documents are not converted yet; save the input as plain text.", true);
}
