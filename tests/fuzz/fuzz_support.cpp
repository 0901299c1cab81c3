// The engine folder, console and process-end rules of the fuzz harnesses.
#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/convert/globals.h"
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/log/globals.h"
#include "engine/log/log.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/run/run.h"
#include "engine/runtime/command.h"
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
  // Drive C: (where one-shot runs put their results) inside the engine folder.
  setenv("VLX_DRIVE_C", (folder / "drive_c").c_str(), 1);
  std::atexit([] {
    std::error_code ec;
    fs::current_path("/", ec);
    fs::remove_all(folder, ec);
  });
  // What the engine prints goes to standard output with FUZZ_ECHO=1 (to look at one input).
  const char* echo = std::getenv("FUZZ_ECHO");
  platform::set_console(std::make_unique<platform::BatchConsole>(25, echo && *echo == '1'));
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

void fixed_pitch_sheet() {
  for (std::int32_t f = 1; f <= 3; ++f) {
    FONTWIDTH(f) = 25, FONTSIZE(f) = 1;
    for (std::int32_t c = 32; c <= 255; ++c) CHARWIDTH(f, c) = 25;
    FONTSPEC(f) = "\x1b(s12h10V";
  }
  PAGELENGTH = PAGELENGTHSET = 3200;
  HEADDOTS = 600, FOOTDOTS = 300, LINEPITCH = 50, INDENT = 2, SCALEOPT = 1, A3SHIFT = 0;
  PROFLMARGIN = PROFRMARGIN = 0;
  OUTDEV = 1;
  RUNFLAGS = 1;
  PROFILECODE = "631BH1";
  HEADER(20) = "BH1";
}

void pdf_fonts() {
  for (std::int32_t f = 1; f <= 3; ++f) {
    FONTSIZE(f) = 1;
    FONTWIDTH(f) = 10;
    for (std::int32_t c = 32; c <= 255; ++c) CHARWIDTH(f, c) = 10;
  }
  FONTSPEC(1) = "\x1b(10U\x1b(s1p12v0s0b4148T";
  FONTSPEC(2) = "\x1b(10U\x1b(s1p12v0s3b4148T";
  FONTSPEC(3) = "\x1b)10U\x1b)s1p8v1s0b4148T";
  PDFFONTCOUNT = 3;
  CURFONT = 1;
  PAPER = "A4";
}

void log_column(std::int32_t device) {
  OUTDEV = device;
  pdf_fonts();
  TEXTDEPTH.dim(0, 3000);
  ATTRSTART.dim(0, 25);
  PAGELENGTH = 3200, HEADDOTS = 300, FOOTDOTS = 300;
  DOTSPERUNIT = 100;
  PAGECOUNT = 1;
  PAGEDEPTH(1) = 0, PAGESTART(1) = 0;
  TOPDEPTH = 0, PAGEORIGIN = 0, PAGEENDDOT = 2500, PAGEENDROW = 2801;
  PAGENO = 1;
  UNITSPERLINE = 2, QUARTERLINE = 0.125, LINEPITCH = 50, FIRSTPAGEDEPTH = 0;
  SHEETX1 = 376, SHEETX0 = 490, SHEETX2 = 2030, LOGRIGHT = 2124;
  LAYERCOUNT = 1, LAYERDEPTH(1) = 12;
  SCALETICK = 5;
  HEADER(20) = "BH";
  forget_log_records();
}

void draw(std::int32_t device, const std::function<void()>& drawing) {
  if (device == 1) {
    PAGEFILE = rt::FREEFILE();
    OPENLEAF("fuzz.pdf");
    NEWSTREA();
    drawing();
    CLOSESTR();
    CLOSELEA();
    return;
  }
  XSCALE = 1, YSCALE = 1, XOFFSET = 0, YOFFSET = 0;
  DXFXSCALE = 1, DXFYSCALE = 1, DXFXOFF = 0, DXFYOFF = 0;
  PLOTFILE = PAGEFILE = rt::FREEFILE();
  GOOPEN("plot");
  drawing();
  rt::close_file(PLOTFILE);
  plot_open = false;
}

void one_shot(const std::string& input, const std::string& device) {
  std::ofstream(folder / "@run.dat", std::ios::binary | std::ios::trunc)
      << "0/   setupfile = STANDARD.SET\r\n1/   inputfile = " << input << "\r\n2/      output = " << device
      << "\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n";
  rt::set_command_tail("@run.dat");
  rt::set_exit_code(0);
  run([] { PBMAIN(); });
  std::error_code ec;
  fs::remove_all(folder / "drive_c", ec);
}

void run(const std::function<void()>& reader) {
  try {
    reader();
  } catch (const EndedRun&) {
  }
  rt::close_all();
}

}  // namespace fuzz
