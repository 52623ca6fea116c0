// OutputDebugStringA: one text per call to the sink, standard error only on
// request.
#include <gtest/gtest.h>

#include "kernel/Kernel.h"
#include "support/DebugCapture.h"
#include "support/ScopedEnvironment.h"

namespace {

TEST(DebugOutputTest, CaptureGetsEachCallsTextUnchanged) {
  vyn::test::DebugCapture capture;
  OutputDebugStringA("KVR:line\n");
  OutputDebugStringA("KVR:DDCreateError ");
  OutputDebugStringA(nullptr);
  OutputDebugStringA("");
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"KVR:line\n", "KVR:DDCreateError ", ""}));
}

std::string StandardErrorOf(const char* text) {
  testing::internal::CaptureStderr();
  OutputDebugStringA(text);
  return testing::internal::GetCapturedStderr();
}

TEST(DebugOutputTest, StandardErrorOnlyWhenVynDebugIsSet) {
  vyn::test::ScopedEnvironment environment;
  environment.Clear("VYN_DEBUG");
  EXPECT_EQ(StandardErrorOf("dropped\n"), "");
  environment.Set("VYN_DEBUG", "");
  EXPECT_EQ(StandardErrorOf("dropped\n"), "");
  environment.Set("VYN_DEBUG", "1");
  EXPECT_EQ(StandardErrorOf("KVR:kept \n"), "KVR:kept \n");
  {
    vyn::test::DebugCapture capture;
    EXPECT_EQ(StandardErrorOf("captured"), "") << "a capture replaces standard error";
    EXPECT_EQ(capture.joined(), "captured");
  }
  EXPECT_EQ(StandardErrorOf("back"), "back") << "ending the capture restores standard error";
}

TEST(DebugOutputTest, ASinkMayWriteDebugOutputItself) {
  std::vector<std::string> seen;
  vyn::kernel::SetDebugSink([&](const char* text) {
    seen.emplace_back(text);
    if (seen.size() == 1) {
      vyn::kernel::SetDebugSink([&](const char* inner) { seen.push_back(std::string("inner:") + inner); });
      OutputDebugStringA("nested");
    }
  });
  OutputDebugStringA("outer");
  vyn::kernel::SetDebugSink({});
  EXPECT_EQ(seen, (std::vector<std::string>{"outer", "inner:nested"}));
}

}  // namespace
