// The scene set-up against the fake Retained Mode: the graph it leaves, who
// holds which reference, the look of the solid, and what happens when a
// creation fails.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "Lumivex.h"
#include "Motion.h"
#include "SceneFixture.h"
#include "FrameTick.h"
#include "Scene.h"

namespace vyn::scenetest {
namespace {

using saver::sceneHandles;

// Creation order of the frames: root, camera, light frame, object.
enum FrameIndex { kRoot = 0, kCamera = 1, kLightFrame = 2, kObject = 3 };

std::uint32_t Bits(float value) { return std::bit_cast<std::uint32_t>(value); }

void ExpectVector(const D3DVECTOR& v, float x, float y, float z) {
  EXPECT_EQ(v.x, x);
  EXPECT_EQ(v.y, y);
  EXPECT_EQ(v.z, z);
}

using SceneTest = SceneFixture;

TEST_F(SceneTest, BuildsTheGraphAndSwitchesTheLayerOn) {
  ASSERT_EQ(RunCreateScene(), 1);
  ASSERT_EQ(rm->frames.size(), 4u);
  FakeFrame* root = FrameAt(kRoot);
  FakeFrame* camera = FrameAt(kCamera);
  FakeFrame* lightFrame = FrameAt(kLightFrame);
  FakeFrame* object = FrameAt(kObject);

  EXPECT_EQ(sceneHandles.scene, root);
  EXPECT_EQ(sceneHandles.camera, camera);
  EXPECT_EQ(sceneHandles.object, object);
  EXPECT_EQ(root->parent, nullptr);
  EXPECT_EQ(camera->parent, root);
  EXPECT_EQ(lightFrame->parent, root);
  EXPECT_EQ(object->parent, root);

  // Camera at the origin looking along +z, with the viewport on it.
  EXPECT_EQ(camera->positionReference, root);
  ExpectVector(camera->position, 0, 0, 0);
  EXPECT_EQ(camera->orientationReference, root);
  ExpectVector(camera->direction, 0, 0, 1);
  ExpectVector(camera->up, 0, 1, 0);
  ASSERT_NE(rm->viewport, nullptr);
  EXPECT_EQ(rm->viewport->camera, camera);
  EXPECT_EQ(lumivex::renderContext.viewport, rm->viewport);

  // A dim ambient light on the root; a bright directional one on a frame of
  // its own whose placement is never touched.
  ASSERT_EQ(root->lights.size(), 1u);
  EXPECT_EQ(root->lights[0]->type, D3DRMLIGHT_AMBIENT);
  EXPECT_EQ(Bits(root->lights[0]->red), 0x3DCCCCCDu);
  EXPECT_EQ(Bits(root->lights[0]->green), 0x3DCCCCCDu);
  EXPECT_EQ(Bits(root->lights[0]->blue), 0x3DCCCCCDu);
  ASSERT_EQ(lightFrame->lights.size(), 1u);
  EXPECT_EQ(lightFrame->lights[0]->type, D3DRMLIGHT_DIRECTIONAL);
  EXPECT_EQ(Bits(lightFrame->lights[0]->red), 0x3F666666u);
  EXPECT_EQ(Bits(lightFrame->lights[0]->blue), 0x3F666666u);
  EXPECT_EQ(lightFrame->positionReference, nullptr);
  EXPECT_EQ(lightFrame->orientationReference, nullptr);

  // The object 15 ahead, carrying the mesh made from the picture.
  EXPECT_EQ(object->positionReference, root);
  ExpectVector(object->position, 0, 0, 15);
  ExpectVector(object->direction, 0, 0, 1);
  ExpectVector(object->up, 0, 1, 0);
  ASSERT_EQ(object->visuals.size(), 1u);
  ASSERT_NE(rm->builder, nullptr);
  EXPECT_EQ(object->visuals[0], static_cast<IUnknown*>(rm->builder->mesh));

  EXPECT_EQ(lumivex::renderContext.active, 1);
  // Motion starts with the first step, not here.
  EXPECT_EQ(object->velocityCalls, 0);
  EXPECT_EQ(object->rotationCalls, 0);
}

TEST_F(SceneTest, ProgramKeepsExactlyTheRootAndTheCamera) {
  RunCreateScene();
  FakeFrame* root = FrameAt(kRoot);
  FakeFrame* object = FrameAt(kObject);

  // Root: the program. Camera: its parent and the program. Light frame and
  // object: their parent only. Lights and mesh: the frame that carries them.
  EXPECT_EQ(References(root), 1u);
  EXPECT_EQ(References(FrameAt(kCamera)), 2u);
  EXPECT_EQ(References(FrameAt(kLightFrame)), 1u);
  EXPECT_EQ(References(object), 1u);
  ASSERT_EQ(rm->lights.size(), 2u);
  EXPECT_EQ(References(rm->lights[0]), 1u);
  EXPECT_EQ(References(rm->lights[1]), 1u);
  EXPECT_EQ(References(rm->builder->mesh), 1u);
  EXPECT_EQ(References(rm->builder), 1u);  // the fake's own record only

  // The borrowed object handle still works: the frame lives as the root's
  // child, and goes with the root.
  EXPECT_TRUE(IsAlive(object));
  D3DVECTOR where{};
  sceneHandles.object->GetPosition(sceneHandles.scene, &where);
  EXPECT_EQ(where.z, 15.0f);
}

TEST_F(SceneTest, MeshIsFilledFromThePictureAndFitted) {
  RunCreateScene();
  FakeMeshBuilder* builder = rm->builder;
  ASSERT_NE(builder, nullptr);
  // Whole slabs: 12 vertices, 6 normals and 10 four-cornered faces each.
  ASSERT_GT(builder->vertices, 0);
  EXPECT_EQ(builder->vertices % 12, 0);
  EXPECT_EQ(builder->normals * 2, builder->vertices);
  EXPECT_EQ(static_cast<int>(builder->faces.size()) * 6, builder->vertices * 5);
  EXPECT_NE(builder->scale, 1.0f);
  EXPECT_EQ(builder->qualityCalls, 1);
  EXPECT_EQ(builder->colorCalls, 1);
}

struct LookCase {
  const char* ssSection;
  const char* settingSection;
  D3DRMRENDERQUALITY quality;
  D3DCOLOR color;
};

class SceneLookTest : public SceneFixture, public ::testing::WithParamInterface<LookCase> {};

TEST_P(SceneLookTest, QualityAndColourComeFromTheSettings) {
  WriteSettings(GetParam().ssSection, GetParam().settingSection);
  RunCreateScene();
  ASSERT_NE(rm->builder, nullptr);
  EXPECT_EQ(rm->builder->quality, GetParam().quality);
  EXPECT_EQ(rm->builder->color, GetParam().color);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SceneLookTest,
    ::testing::Values(LookCase{"", "", 137, 0xFFFFFFFF},  // no keys: shaded white
                      LookCase{"SHADE=1\n", "", 64, 0xFFFFFFFF},
                      LookCase{"SHADE=0\n", "", 137, 0xFFFFFFFF},
                      LookCase{"SHADE=2\n", "ColorR=0\nColorG=0\nColorB=0\n", 137, 0xFF000000},
                      LookCase{"SHADE=1\n", "ColorR=255\nColorG=128\nColorB=0\n", 64, 0xFFFF8000},
                      LookCase{"", "ColorR=300\nColorG=-20\nColorB=7\n", 137, 0xFFFF0007}));

TEST(SolidColor, EveryChannelValueSurvivesThePacking) {
  for (int v = 0; v <= 255; ++v) {
    const double share = v / 255.0;
    const auto expected = static_cast<D3DCOLOR>(0xFF000000u | (v << 16) | ((255 - v) << 8) | v);
    EXPECT_EQ(saver::PackSolidColor(1.0, share, (255 - v) / 255.0, share), expected) << v;
  }
}

// --- Failing creations ---------------------------------------------------

struct FailureCase {
  const char* name;
  FakeFailures failures;
  bool active;         // the layer is switched on at the end
  size_t framesMade;   // frames that exist
  bool objectHandle;   // sceneHandles.object is set
  bool meshAttached;
};

class SceneFailureTest : public SceneFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SceneFailureTest, SkipsWhatDependsOnTheMissingObject) {
  const FailureCase& c = GetParam();
  failures = c.failures;
  EXPECT_EQ(RunCreateScene(), 1);

  EXPECT_EQ(lumivex::renderContext.active, c.active ? 1 : 0);
  EXPECT_EQ(rm->frames.size(), c.framesMade);
  EXPECT_EQ(sceneHandles.object != nullptr, c.objectHandle);
  if (c.objectHandle) {
    auto* object = static_cast<FakeFrame*>(sceneHandles.object);
    EXPECT_EQ(object->visuals.size(), c.meshAttached ? 1u : 0u);
    EXPECT_EQ(References(object), 1u);
  }
  // The loop's two calls stay harmless whatever is missing.
  saver::StepMotion();
  EXPECT_EQ(saver::TickFrame(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Creations, SceneFailureTest,
    ::testing::Values(FailureCase{"Root", {.frame = 1}, false, 0, false, false},
                      FailureCase{"Camera", {.frame = 2}, false, 1, false, false},
                      FailureCase{"LightFrame", {.frame = 3}, true, 3, true, true},
                      FailureCase{"ObjectFrame", {.frame = 4}, true, 3, false, false},
                      FailureCase{"AmbientLight", {.ambientLight = true}, true, 4, true, true},
                      FailureCase{"DirectionalLight", {.directionalLight = true}, true, 4, true, true},
                      FailureCase{"MeshBuilder", {.meshBuilder = true}, true, 4, true, false},
                      FailureCase{"Mesh", {.mesh = true}, true, 4, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SceneTest, FailedViewportLeavesTheLayerOffAndMakesNothingMore) {
  failures.viewport = true;
  RunCreateScene();
  // The viewport's clean-up released the layer's objects, the Retained Mode
  // object among them: the set-up stops there and leaves the layer off.
  EXPECT_EQ(lumivex::renderContext.retainedMode, nullptr);
  EXPECT_EQ(lumivex::renderContext.active, 0);
  EXPECT_EQ(rm->frames.size(), 2u);
  EXPECT_TRUE(rm->lights.empty());
  EXPECT_EQ(rm->builder, nullptr);
  EXPECT_EQ(References(rm), 1u);  // only the test's own reference is left

  // The tick then touches nothing.
  FakeFrame* root = FrameAt(kRoot);
  saver::StepMotion();
  EXPECT_EQ(saver::TickFrame(), 1);
  EXPECT_TRUE(root->moves.empty());
}

}  // namespace
}  // namespace vyn::scenetest
