// The common ground of the run layer's unit tests: the frame's fixture, and the main menu's hand-over
// put back to the engine's own procedures except the SET file reader: the main menu reads no SET file
// here (the setup subsystem tests its reader).
#pragma once

#include "engine/frame/frame_fixture.h"
#include "engine/run/promenu.h"

class RunFixture : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    menu_hand_over() = MenuHandOver{};
    menu_hand_over().getsetup = [] {};
  }
  void TearDown() override {
    menu_hand_over() = MenuHandOver{};
    FrameFixture::TearDown();
  }
};
