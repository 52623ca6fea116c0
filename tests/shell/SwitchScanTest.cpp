// The switch scan over the command-line tail.
#include <gtest/gtest.h>

#include "SwitchScan.h"

namespace {

struct Scan {
  const char* tail;
  bool configure;
  bool run;
};

class SwitchScanTest : public ::testing::TestWithParam<Scan> {};

TEST_P(SwitchScanTest, SetsTheRequestsItsSwitchesAskFor) {
  const Scan& c = GetParam();
  vyn::saver::SwitchRequest request = vyn::saver::ScanSwitches(c.tail);
  EXPECT_EQ(request.configure, c.configure) << '"' << c.tail << '"';
  EXPECT_EQ(request.run, c.run) << '"' << c.tail << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SwitchScanTest,
    ::testing::Values(Scan{"", false, false},
                      Scan{"/s", false, true}, Scan{"/S", false, true},
                      Scan{"-s", false, true}, Scan{"-S", false, true},
                      Scan{"/c", true, false}, Scan{"/C", true, false}, Scan{"-c", true, false},
                      Scan{"/c:1234", true, false},
                      Scan{"/p 1234", false, false}, Scan{"/P 1234", false, false},
                      Scan{"/", false, false}, Scan{"-", false, false},
                      Scan{"abc /", false, false}, Scan{"/s -", false, true},  // switch character at the end
                      Scan{"/s /c", true, true}, Scan{"/c /s", true, true},
                      Scan{"/sc", false, true}, Scan{"/cs", true, false},
                      Scan{"/x s", false, false}, Scan{"s c", false, false},
                      Scan{"//s", false, true}, Scan{"-/s", false, true}, Scan{"/-c", true, false},
                      Scan{"x/Sy", false, true}, Scan{"a-cb", true, false},
                      Scan{"/a/s", false, true}, Scan{"/ s", false, false},
                      Scan{"--", false, false}, Scan{"/s/s/s", false, true}));

}  // namespace
