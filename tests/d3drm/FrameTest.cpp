#include <cmath>

#include "RmFixture.h"
#include "d3drm/Transform.h"

namespace vyn::d3drm::testing {
namespace {

using FrameTest = RmTest;

void ExpectVector(const D3DVECTOR& v, double x, double y, double z, double tolerance = 1e-4) {
  EXPECT_NEAR(v.x, x, tolerance);
  EXPECT_NEAR(v.y, y, tolerance);
  EXPECT_NEAR(v.z, z, tolerance);
}

TEST_F(FrameTest, NewChildSitsAtTheParentsOriginFacingPlusZ) {
  IDirect3DRMFrame2* scene = NewFrame(nullptr);
  IDirect3DRMFrame2* child = NewFrame(scene);
  D3DVECTOR position, direction, up;
  ASSERT_EQ(child->GetPosition(scene, &position), D3DRM_OK);
  ASSERT_EQ(child->GetOrientation(scene, &direction, &up), D3DRM_OK);
  ExpectVector(position, 0, 0, 0);
  ExpectVector(direction, 0, 0, 1);
  ExpectVector(up, 0, 1, 0);
  child->Release();
  scene->Release();
}

// The saver's motion: velocity fixed in the scene, spin about a diagonal.
// After n moves the position is p0 + n v and the axes are turned by n theta.
TEST_F(FrameTest, MoveAppliesVelocityAndRotationOncePerUnitOfTime) {
  IDirect3DRMFrame2* scene = NewFrame(nullptr);
  IDirect3DRMFrame2* object = NewFrame(scene);
  ASSERT_EQ(object->SetPosition(scene, 0, 0, 15), D3DRM_OK);
  ASSERT_EQ(object->SetOrientation(scene, 0, 0, 1, 0, 1, 0), D3DRM_OK);
  ASSERT_EQ(object->SetVelocity(scene, 0.1f, 0.08f, 0.2f, FALSE), D3DRM_OK);
  const float theta = static_cast<float>(3 * 3.14159265359 / 180);
  ASSERT_EQ(object->SetRotation(scene, 1, 1, 1, theta), D3DRM_OK);

  for (int n : {1, 10, 500}) {
    IDirect3DRMFrame2* s = NewFrame(nullptr);
    IDirect3DRMFrame2* o = NewFrame(s);
    o->SetPosition(s, 0, 0, 15);
    o->SetVelocity(s, 0.1f, 0.08f, 0.2f, FALSE);
    o->SetRotation(s, 1, 1, 1, theta);
    for (int i = 0; i < n; ++i) ASSERT_EQ(s->Move(1.0f), D3DRM_OK);
    D3DVECTOR position, direction, up;
    o->GetPosition(s, &position);
    o->GetOrientation(s, &direction, &up);
    ExpectVector(position, n * double(0.1f), n * double(0.08f), 15 + n * double(0.2f), 1e-3);
    const Vec3d axis = Normalized({1, 1, 1});
    const Vec3d d = RotateAbout({0, 0, 1}, axis, n * double(theta));
    const Vec3d u = RotateAbout({0, 1, 0}, axis, n * double(theta));
    ExpectVector(direction, d.x, d.y, d.z, 1e-4);
    ExpectVector(up, u.x, u.y, u.z, 1e-4);
    o->Release();
    s->Release();
  }
  object->Release();
  scene->Release();
}

TEST_F(FrameTest, PositiveRotationAboutZTurnsXTowardsY) {
  IDirect3DRMFrame2* scene = NewFrame(nullptr);
  IDirect3DRMFrame2* f = NewFrame(scene);
  f->SetRotation(scene, 0, 0, 1, static_cast<float>(3.14159265358979 / 2));
  scene->Move(1.0f);
  D3DVECTOR direction, up;
  f->GetOrientation(scene, &direction, &up);
  ExpectVector(up, -1, 0, 0);  // y turned towards -x, so x turned towards +y
  ExpectVector(direction, 0, 0, 1);
  f->Release();
  scene->Release();
}

TEST_F(FrameTest, PositionsAndAxesAreRelativeToTheReferenceFrame) {
  IDirect3DRMFrame2* scene = NewFrame(nullptr);
  IDirect3DRMFrame2* parent = NewFrame(scene);
  parent->SetPosition(scene, 1, 2, 3);
  parent->SetOrientation(scene, 1, 0, 0, 0, 1, 0);  // parent's +z is the scene's +x
  IDirect3DRMFrame2* child = NewFrame(parent);
  ASSERT_EQ(child->SetPosition(scene, 5, 5, 5), D3DRM_OK);
  D3DVECTOR p;
  child->GetPosition(scene, &p);
  ExpectVector(p, 5, 5, 5);
  child->GetPosition(parent, &p);
  // Scene offset (4, 3, 2) in the parent's axes: x' = -z, y' = y, z' = x.
  ExpectVector(p, -2, 3, 4);

  // A velocity given in the scene moves the child along the scene's axes,
  // even though its parent is turned.
  child->SetVelocity(scene, 0, 0, 1, FALSE);
  scene->Move(2.0f);
  child->GetPosition(scene, &p);
  ExpectVector(p, 5, 5, 7);

  // Moving the parent carries the child.
  parent->SetPosition(scene, 1, 2, 13);
  child->GetPosition(scene, &p);
  ExpectVector(p, 5, 5, 17);
  child->Release();
  parent->Release();
  scene->Release();
}

TEST_F(FrameTest, RotationAxisIsTakenInTheReferenceFrame) {
  IDirect3DRMFrame2* scene = NewFrame(nullptr);
  IDirect3DRMFrame2* parent = NewFrame(scene);
  parent->SetOrientation(scene, 1, 0, 0, 0, 1, 0);
  IDirect3DRMFrame2* child = NewFrame(parent);
  // About the scene's y axis by 90 degrees: the child's +z (scene +x) goes to scene -z.
  child->SetRotation(scene, 0, 1, 0, static_cast<float>(3.14159265358979 / 2));
  scene->Move(1.0f);
  D3DVECTOR direction, up;
  child->GetOrientation(scene, &direction, &up);
  ExpectVector(direction, 0, 0, -1);
  ExpectVector(up, 0, 1, 0);
  child->Release();
  parent->Release();
  scene->Release();
}

TEST_F(FrameTest, ParallelDirectionAndUpAreRejected) {
  IDirect3DRMFrame2* scene = NewFrame(nullptr);
  IDirect3DRMFrame2* f = NewFrame(scene);
  EXPECT_EQ(f->SetOrientation(scene, 0, 0, 2, 0, 0, 1), D3DRMERR_BADVALUE);
  EXPECT_EQ(f->SetOrientation(scene, 0, 0, 0, 0, 1, 0), D3DRMERR_BADVALUE);
  D3DVECTOR direction, up;
  f->GetOrientation(scene, &direction, &up);
  ExpectVector(direction, 0, 0, 1);  // unchanged
  // Up is projected onto the plane normal to the direction.
  ASSERT_EQ(f->SetOrientation(scene, 0, 0, 1, 0, 1, 1), D3DRM_OK);
  f->GetOrientation(scene, &direction, &up);
  ExpectVector(up, 0, 1, 0);
  f->Release();
  scene->Release();
}

TEST_F(FrameTest, LongSpinKeepsTheAxesOrthonormal) {
  IDirect3DRMFrame2* scene = NewFrame(nullptr);
  IDirect3DRMFrame2* f = NewFrame(scene);
  f->SetRotation(scene, 1, -1, 1, 0.17f);
  for (int i = 0; i < 20000; ++i) scene->Move(1.0f);
  D3DVECTOR d, u;
  f->GetOrientation(scene, &d, &u);
  EXPECT_NEAR(d.x * d.x + d.y * d.y + d.z * d.z, 1.0, 1e-5);
  EXPECT_NEAR(u.x * u.x + u.y * u.y + u.z * u.z, 1.0, 1e-5);
  EXPECT_NEAR(d.x * u.x + d.y * u.y + d.z * u.z, 0.0, 1e-5);
  f->Release();
  scene->Release();
}

TEST_F(FrameTest, ParentKeepsAReleasedChildAlive) {
  IDirect3DRMFrame2* scene = NewFrame(nullptr);
  IDirect3DRMFrame2* object = NewFrame(scene);
  object->SetPosition(scene, 0, 0, 15);
  EXPECT_EQ(object->Release(), 1u);  // the scene's reference remains
  object->SetVelocity(scene, 1, 0, 0, FALSE);
  ASSERT_EQ(scene->Move(1.0f), D3DRM_OK);
  D3DVECTOR p;
  ASSERT_EQ(object->GetPosition(scene, &p), D3DRM_OK);
  ExpectVector(p, 1, 0, 15);
  vyn::testctl::StartRecording();
  EXPECT_EQ(scene->Release(), 0u);
  // Only the caller's release is on record, not the scene's internal ones.
  EXPECT_EQ(vyn::testctl::CallsOf("Release").size(), 1u);
}

TEST_F(FrameTest, ChildKeptByTheCallerOutlivesItsParent) {
  IDirect3DRMFrame2* scene = NewFrame(nullptr);
  IDirect3DRMFrame2* child = NewFrame(scene);
  child->SetPosition(scene, 1, 2, 3);
  scene->Release();
  D3DVECTOR p;
  ASSERT_EQ(child->GetPosition(nullptr, &p), D3DRM_OK);  // now a root of its own
  ExpectVector(p, 1, 2, 3);
  EXPECT_EQ(child->Move(1.0f), D3DRM_OK);
  child->Release();
}

TEST_F(FrameTest, InjectedMoveFailureLeavesTheSceneAlone) {
  IDirect3DRMFrame2* scene = NewFrame(nullptr);
  IDirect3DRMFrame2* f = NewFrame(scene);
  f->SetVelocity(scene, 1, 0, 0, FALSE);
  vyn::testctl::FailCall("IDirect3DRMFrame::Move", 1, D3DRMERR_BADVALUE);
  EXPECT_EQ(scene->Move(1.0f), D3DRMERR_BADVALUE);
  D3DVECTOR p;
  f->GetPosition(scene, &p);
  ExpectVector(p, 0, 0, 0);
  EXPECT_EQ(scene->Move(1.0f), D3DRM_OK);
  f->GetPosition(scene, &p);
  ExpectVector(p, 1, 0, 0);
  f->Release();
  scene->Release();
}

TEST_F(FrameTest, LightsAndVisualsMustBeRetainedModeObjects) {
  IDirect3DRMFrame2* scene = NewFrame(nullptr);
  EXPECT_EQ(scene->AddLight(nullptr), D3DRMERR_BADOBJECT);
  EXPECT_EQ(scene->AddVisual(nullptr), D3DRMERR_BADOBJECT);
  EXPECT_EQ(scene->AddVisual(scene), D3DRMERR_BADOBJECT);
  IDirect3DRMLight* light = nullptr;
  ASSERT_EQ(rm->CreateLightRGB(D3DRMLIGHT_AMBIENT, 0.1f, 0.1f, 0.1f, &light), D3DRM_OK);
  ASSERT_EQ(scene->AddLight(light), D3DRM_OK);
  EXPECT_EQ(light->Release(), 1u);
  EXPECT_EQ(light->GetType(), D3DRMLIGHT_AMBIENT);  // alive under the scene
  scene->Release();
}

TEST_F(FrameTest, RetainedModeObjectAnswersBothVersions) {
  IDirect3DRM* v1 = nullptr;
  ASSERT_EQ(rm->QueryInterface(IID_IDirect3DRM, reinterpret_cast<void**>(&v1)), S_OK);
  IDirect3DRM2* again = nullptr;
  ASSERT_EQ(v1->QueryInterface(IID_IDirect3DRM2, reinterpret_cast<void**>(&again)), S_OK);
  EXPECT_EQ(again, rm);
  vyn::testctl::StartRecording();
  v1->Release();
  again->Release();
  const auto releases = vyn::testctl::CallsOf("Release");
  ASSERT_EQ(releases.size(), 2u);
  EXPECT_EQ(releases[0].object, static_cast<const void*>(v1));
  IDirect3DRMFrame2* f = NewFrame(nullptr);  // rm still alive: the fixture holds it
  ASSERT_NE(f, nullptr);
  f->Release();
  void* nothing = reinterpret_cast<void*>(1);
  EXPECT_EQ(rm->QueryInterface(IID_IDirect3DDevice2, &nothing), E_NOINTERFACE);
  EXPECT_EQ(nothing, nullptr);
}

TEST_F(FrameTest, CreateFrameRejectsForeignParentAndNullOut) {
  EXPECT_EQ(rm->CreateFrame(nullptr, nullptr), D3DRMERR_BADVALUE);
  vyn::testctl::FailCall("IDirect3DRM2::CreateFrame", 1, D3DRMERR_BADALLOC);
  IDirect3DRMFrame2* f = reinterpret_cast<IDirect3DRMFrame2*>(1);
  EXPECT_EQ(rm->CreateFrame(nullptr, &f), D3DRMERR_BADALLOC);
}

}  // namespace
}  // namespace vyn::d3drm::testing
