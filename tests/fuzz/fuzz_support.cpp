// The engine folder, console and process-end rules of the fuzz harnesses.
#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/convert/globals.h"
#include "engine/devices/globals.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/log/globals.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/files.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "platform/console.h"
#include "platform/msgbox.h"

namespace fuzz {
namespace {

namespace fs = std::filesystem;

struct EndedRun {
  int code;
};

fs::path folder;

}  // namespace

void engine_folder() {
  if (!folder.empty()) return;
  // In memory where the system has such a folder: every input writes and reads a few files.
  std::string tmpl = fs::is_directory("/dev/shm") ? "/dev/shm/vlx-fuzz-XXXXXX" : "/tmp/vlx-fuzz-XXXXXX";
  if (!mkdtemp(tmpl.data())) std::abort();
  folder = tmpl;
  fs::copy(fs::path(VLX_SOURCE_DIR) / "data", folder, fs::copy_options::recursive);
  fs::current_path(folder);
  std::atexit([] {
    std::error_code ec;
    fs::current_path("/", ec);
    fs::remove_all(folder, ec);
  });
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  platform::set_message_box([](std::string_view text) -> platform::BoxAnswer {
    std::fprintf(stderr, "fuzz finding: an untrapped error ends the run with 255:\n%.*s\n",
                 static_cast<int>(text.size()), text.data());
    std::abort();
  });
  platform::set_end_process([](int code) {
    if (code == 0 || code == 1) throw EndedRun{code};
    std::fprintf(stderr, "fuzz finding: the process ends with %d\n", code);
    std::abort();
  });
}

void fresh_engine() {
  engine_folder();
  reset_frame_globals();
  reset_setup_globals();
  reset_convert_globals();
  reset_pdf_globals();
  reset_devices_globals();
  reset_select_globals();
  reset_sheet_globals();
  reset_log_globals();
  PRODIM();
  VERSION = "7022";
  STATUSROW = CONROWS = 25;
  SYMULCODE = "\x01";
  CTRL2 = "\x02";
  SYMCODE = "\x03";
  BREAKCODE = "\x04";
  HARDSPCODE = "\x05";
  INDONCODE = "\x06";
  INDOFFCODE = "\x07";
  COLUMNCODE = "\x08";
  FONTSWCODE = "\x13";
  ULWORDCODE = "_";
  NOSYMCODE = "\x17";
  CTRL25 = "\x19";
  LF = "\n";
  CRLF = "\r\n";
  AWORKBASE = 4;
  WORKSECOND = 2;
  PROMPTNAME = "prompts.eng";
  FETCHPRO(PROMPTNAME);
  rt::close_all();
}

void write(const std::string& name, const std::uint8_t* data, std::size_t size) {
  std::error_code ec;
  fs::remove(folder / "ERROR.LOG", ec);
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void restore(const std::string& name) {
  std::error_code ec;
  const fs::path from = fs::path(VLX_SOURCE_DIR) / "data" / name;
  if (fs::exists(from)) fs::copy_file(from, folder / name, fs::copy_options::overwrite_existing, ec);
  else fs::remove(folder / name, ec);
}

void run(const std::function<void()>& reader) {
  try {
    reader();
  } catch (const EndedRun&) {
  }
  rt::close_all();
}

}  // namespace fuzz
