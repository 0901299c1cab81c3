// Fuzz harness: the remembered files of the engine folder, the same bytes as both: "memofile" (the
// input files of the console picker, read, one pushed and read again) and "lastrun" (the device and SET
// file of the run before, read at start-up).
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/run/picker.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("memofile", data, size);
  fuzz::write("lastrun", data, size);
  fuzz::run([] {
    STARTUP();
    std::vector<std::string> list;
    std::int32_t count = 0;
    POPFILES(list, count);
    PUSHFILE(list, count, "C:\\VLXFILES\\PIT3.TXT");
    POPFILES(list, count);
  });
  fuzz::restore("lastrun");
  return 0;
}
