// A scene set-up run against the fake Retained Mode: a settings file in a
// folder of its own, a small two-tone picture, and the rendering layer's
// context holding the fake Retained Mode object and a fake device.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "FakeRetainedMode.h"

namespace vyn::scenetest {

class SceneFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes vyn.ini with the given lines in [SS_SECTION] and [SETTING];
  // FILENAME names the fixture's picture.
  void WriteSettings(const std::string& ssSection, const std::string& settingSection);
  // Prepares the context and runs CreateScene. The fake stays readable
  // afterwards, even when the layer has been cleaned up.
  int RunCreateScene();

  FakeFrame* FrameAt(int index) const { return rm->frames.at(static_cast<size_t>(index)); }

  std::string folder;
  std::string picturePath;
  FakeRetainedMode* rm = nullptr;
  FakeFailures failures;
};

// Reference count of a fake without changing it.
template <class T>
ULONG References(T* object) {
  return object->ReferenceCount();
}

}  // namespace vyn::scenetest
