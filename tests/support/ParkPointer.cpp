// Linked into every GUI test: before the first test, the pointer goes to the
// screen's last pixel, away from where tests place their windows. The
// pointer stays where the previous test program left it, and a window shown
// under it gets the mouse messages of a hover it never asked for.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/RealInput.h"

namespace testing_gui {
namespace {

class ParkPointer : public ::testing::Environment {
 public:
  void SetUp() override {
    const POINT corner{::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1};
    if (!MoveMouse(corner)) std::fprintf(stderr, "The pointer could not be parked at the screen's corner.\n");
  }
};

const auto* const parked = ::testing::AddGlobalTestEnvironment(new ParkPointer);

}  // namespace
}  // namespace testing_gui
