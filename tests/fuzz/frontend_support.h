// What the front end's fuzz harnesses stand on: the logic of the windows (frontend/core) without Qt,
// its ports answered by the fakes of its tests (every message box Cancel, no file chosen), in a
// temporary home folder that holds the engine folder vlx7000 with the files the standard SET file
// names. A finding is a crash, a sanitizer report or an exception the logic lets escape (each ends the
// process); the front end has no exit code of its own to judge.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "frontend/core/mainform.h"
#include "frontend/core/ports.h"
#include "frontend/core/testing/fakes.h"

namespace fuzz {

struct FrontEnd {
  quorvel::fakes::MemorySettings settings;
  quorvel::fakes::ScriptedMessageBox box;
  quorvel::fakes::ScriptedInputBox input;
  quorvel::fakes::ScriptedFileDialog files;
  quorvel::fakes::MemoryClipboard clipboard;
  quorvel::fakes::RecordingLauncher launcher;
  quorvel::Ports ports;
  std::unique_ptr<quorvel::MainForm> main;

  // Fresh front-end globals and a main window on the engine folder.
  FrontEnd();
  // The engine folder (with a final "/").
  static std::string folder();
  // Writes the bytes as a file of the engine folder.
  static std::string write(const std::string& name, const std::uint8_t* data, std::size_t size);
};

}  // namespace fuzz
