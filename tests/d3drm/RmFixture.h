// The Retained Mode object that every scene-graph test starts from.
#pragma once

#include <gtest/gtest.h>

#include "d3drm/D3DRM.h"
#include "testctl/TestControls.h"

namespace vyn::d3drm::testing {

class RmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vyn::testctl::Reset();
    IDirect3DRM* v1 = nullptr;
    ASSERT_EQ(Direct3DRMCreate(&v1), D3DRM_OK);
    ASSERT_EQ(v1->QueryInterface(IID_IDirect3DRM2, reinterpret_cast<void**>(&rm)), S_OK);
    v1->Release();
  }
  void TearDown() override {
    if (rm != nullptr) rm->Release();
    vyn::testctl::Reset();
  }

  IDirect3DRMFrame2* NewFrame(IDirect3DRMFrame* parent) {
    IDirect3DRMFrame2* frame = nullptr;
    EXPECT_EQ(rm->CreateFrame(parent, &frame), D3DRM_OK);
    return frame;
  }

  IDirect3DRM2* rm = nullptr;
};

}  // namespace vyn::d3drm::testing
