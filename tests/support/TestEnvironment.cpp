// Linked into every test program: gives it the folders of the tree and an
// offscreen display, whether it runs under ctest or by hand. Values already
// in the environment win, so a test run can point elsewhere.
#include <cstdlib>

namespace {

struct TestEnvironment {
  TestEnvironment() {
    setenv("VYN_SOURCE_DIR", VYN_TEST_SOURCE_DIR, 0);
    setenv("VYN_BINARY_DIR", VYN_TEST_BINARY_DIR, 0);
    // Tests never draw on the developer's screen, and never fall back to
    // the no-display run that leaves a snapshot in the current folder.
    // Tests of the X11 display open their own Xvfb server directly.
    setenv("VYN_DISPLAY", "offscreen", 0);
  }
};

const TestEnvironment environment;

}  // namespace
