// The device search: which devices write a line, and that the device made is
// always one of the software devices.
#include <gtest/gtest.h>

#include "LayerFixture.h"
#include "kernel/Kernel.h"
#include "d3d/DeviceListControl.h"
#include "d3d/DeviceTarget.h"

namespace vyn::lumivex::test {
namespace {

using Strings = std::vector<std::string>;

// {01234567-...}: a made-up GUID for extra devices; only Data1 is printed.
GUID MadeUpGuid(DWORD data1) { return GUID{data1, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}}; }

d3d::DeviceEntry SoftwareDevice(const std::string& name, D3DCOLORMODEL model, const GUID& guid) {
  d3d::DeviceEntry entry{};
  entry.guid = guid;
  entry.description = name + " description";
  entry.name = name;
  entry.hardware.dwSize = sizeof(D3DDEVICEDESC);
  entry.software.dwSize = sizeof(D3DDEVICEDESC);
  entry.software.dcmColorModel = model;
  entry.software.dwDeviceZBufferBitDepth = DDBD_16;
  return entry;
}

d3d::DeviceEntry Ramp() {
  return SoftwareDevice("Ramp Emulation", D3DCOLOR_MONO, IID_IDirect3DRampDevice);
}
d3d::DeviceEntry Mmx() { return SoftwareDevice("MMX Emulation", D3DCOLOR_RGB, IID_IDirect3DMMXDevice); }

const std::string rampLine = "KVR:DeviceName :Ramp Emulation f2086b20\n";

class DeviceSearchTest : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    ASSERT_EQ(SetUpSurfaces(), 1);
    StartRecord();
  }

  // The texts of one CreateD3DRM with these devices listed.
  Strings SearchWith(std::vector<d3d::DeviceEntry> devices) {
    d3d::SetDevices(std::move(devices));
    EXPECT_EQ(CreateD3DRM(), 1);
    return texts;
  }

  static Strings Expected(const Strings& searchLines) {
    Strings all{"KVR:CreateD3DRM\n"};
    all.insert(all.end(), searchLines.begin(), searchLines.end());
    all.push_back("KVR:DeviceGuid 0\n");
    all.push_back("KVR:Created Direct3DDevice with MMX(HEL)\n");
    return all;
  }
};

TEST_F(DeviceSearchTest, TheSoftwareDevicesWriteTheRampLineOnly) {
  d3d::ResetDevices();
  EXPECT_EQ(CreateD3DRM(), 1);
  EXPECT_EQ(texts, Expected({rampLine}));
}

struct SearchCase {
  const char* what;
  std::vector<d3d::DeviceEntry> devices;
  Strings searchLines;
};

std::vector<SearchCase> SearchCases() {
  d3d::DeviceEntry noZBuffer = d3d::HardwareDevice("Board", D3DCOLOR_MONO, DDBD_8);
  noZBuffer.software.dcmColorModel = D3DCOLOR_MONO;  // would match as software
  return {
      {"a mono hardware device with a 16-bit Z-buffer ends the search",
       {d3d::HardwareDevice("Board", D3DCOLOR_MONO, DDBD_16), Ramp(), Mmx()},
       {"KVR:HAL DeviceName :Board 84e63de0\n"}},
      {"a 24-bit Z-buffer does as well",
       {d3d::HardwareDevice("Board", D3DCOLOR_MONO | D3DCOLOR_RGB, DDBD_24, MadeUpGuid(0xb24)),
        Ramp(), Mmx()},
       {"KVR:HAL DeviceName :Board b24\n"}},
      {"so does a 32-bit one, and later devices are not looked at",
       {Ramp(), d3d::HardwareDevice("Deep", D3DCOLOR_MONO, DDBD_32, MadeUpGuid(0xabc)),
        d3d::HardwareDevice("Later", D3DCOLOR_MONO, DDBD_16, MadeUpGuid(0xdef)),
        SoftwareDevice("Mono Two", D3DCOLOR_MONO, MadeUpGuid(0x123)), Mmx()},
       {rampLine, "KVR:HAL DeviceName :Deep abc\n"}},
      {"a hardware device without a usable Z-buffer writes nothing",
       {noZBuffer, Ramp(), Mmx()},
       {rampLine}},
      {"a hardware device of another colour model writes nothing",
       {d3d::HardwareDevice("Colour", D3DCOLOR_RGB, DDBD_16), Mmx()},
       {}},
      {"only the first software device of the colour model writes a line",
       {SoftwareDevice("Mono One", D3DCOLOR_MONO, MadeUpGuid(0x1)), Ramp(),
        SoftwareDevice("Mono Three", D3DCOLOR_MONO | D3DCOLOR_RGB, MadeUpGuid(0x3)), Mmx()},
       {"KVR:DeviceName :Mono One 1\n"}},
      {"no device of the colour model writes nothing", {Mmx()}, {}},
  };
}

TEST_F(DeviceSearchTest, WritesTheLinesOfTheDevicesItWouldTake) {
  for (const SearchCase& c : SearchCases()) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(SetUpSurfaces(), 1);
    StartRecord();
    EXPECT_EQ(SearchWith(c.devices), Expected(c.searchLines));
    // Whatever the search saw, the device is the MMX software device.
    d3d::DeviceTarget target;
    ASSERT_TRUE(d3d::TargetOf(renderContext.device, target));
    EXPECT_TRUE(target.deviceGuid == IID_IDirect3DMMXDevice);
  }
}

TEST_F(DeviceSearchTest, TheStopFlagIsClearedBeforeEachSearch) {
  searchStopFlag = 1;
  EXPECT_EQ(SearchWith({Ramp(), Mmx()}), Expected({rampLine}));
}

TEST_F(DeviceSearchTest, AnOverlongDeviceNameIsCutToTheLineBuffer) {
  const std::string name(500, 'n');
  const Strings seen = SearchWith({SoftwareDevice(name, D3DCOLOR_MONO, MadeUpGuid(0x9)), Mmx()});
  ASSERT_EQ(seen.size(), 4u);
  const std::string head = "KVR:DeviceName :";
  EXPECT_EQ(seen[1], head + std::string(199 - 1 - head.size(), 'n') + "\n");
  EXPECT_EQ(seen[2], "KVR:DeviceGuid 0\n");
}

TEST(EnumDevicesCallbackTest, AlwaysContinuesTheEnumeration) {
  kernel::SetDebugSink([](const char*) {});
  d3d::DeviceEntry hardware = d3d::HardwareDevice("Board", D3DCOLOR_MONO, DDBD_16);
  d3d::DeviceEntry ramp = Ramp();
  DeviceSearch search{D3DCOLOR_MONO, nullptr};
  searchStopFlag = 0;
  EXPECT_EQ(EnumDevicesCallback(&ramp.guid, ramp.description.data(), ramp.name.data(),
                                &ramp.hardware, &ramp.software, &search),
            D3DENUMRET_OK);
  EXPECT_EQ(search.softwareDevice, &ramp.guid);
  EXPECT_EQ(EnumDevicesCallback(&hardware.guid, hardware.description.data(), hardware.name.data(),
                                &hardware.hardware, &hardware.software, &search),
            D3DENUMRET_OK);
  EXPECT_EQ(searchStopFlag, 1);
  EXPECT_EQ(EnumDevicesCallback(&ramp.guid, ramp.description.data(), ramp.name.data(),
                                &ramp.hardware, &ramp.software, &search),
            D3DENUMRET_OK);
  searchStopFlag = 0;
  kernel::SetDebugSink({});
}

}  // namespace
}  // namespace vyn::lumivex::test
