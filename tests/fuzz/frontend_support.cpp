// The home and engine folders of the front end's fuzz harnesses.
#include "frontend_support.h"

#include <cstdlib>
#include <fstream>

#include "frontend/core/globals.h"
#include "frontend/core/testing/standin.h"

namespace fuzz {
namespace {

namespace fs = std::filesystem;

// Made once and never destroyed: the clean-up at exit runs after the destructors of statics made
// after its registration, and needs the path then.
const fs::path& home() {
  static const fs::path& h = *new fs::path([] {
    std::string tmpl = fs::is_directory("/dev/shm") ? "/dev/shm/vlx-fuzz-XXXXXX" : "/tmp/vlx-fuzz-XXXXXX";
    if (!mkdtemp(tmpl.data())) std::abort();
    const fs::path folder = tmpl;
    const fs::path engine = folder / "vlx7000";
    quorvel::fakes::write_standin_engine(engine, "7022");
    for (const char* name : {"prompts.eng", "PROVOCAB.ENG", "CONVOCAB.ENG", "LOGO0.PDF", "STANDARD.SET"})
      fs::copy_file(fs::path(VLX_SOURCE_DIR) / "data" / name, engine / name);
    fs::create_directory(engine / "LJ4");
    fs::create_directory(folder / "VLXFILES");
    setenv("VLX_DRIVE_C", folder.c_str(), 1);
    fs::current_path(folder);
    std::atexit([] {
      std::error_code ec;
      fs::current_path("/", ec);
      fs::remove_all(home(), ec);
    });
    return folder;
  }());
  return h;
}

}  // namespace

FrontEnd::FrontEnd() {
  home();
  quorvel::reset_globals();
  ports.settings = &settings;
  ports.msgbox = &box;
  ports.inputbox = &input;
  ports.files = &files;
  ports.clipboard = &clipboard;
  ports.launcher = &launcher;
  main = std::make_unique<quorvel::MainForm>(ports);
  main->txtVeltraxFolder = folder();
}

std::string FrontEnd::folder() { return (home() / "vlx7000").string() + "/"; }

std::string FrontEnd::write(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = folder() + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

}  // namespace fuzz
