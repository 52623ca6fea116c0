#include "LlvmpipePeer.h"

// The buffer-object entry points of GL 1.5 come from glext.h, which gl.h
// (included by osmesa.h) pulls in with their prototypes only when asked.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/osmesa.h>

#include <cstddef>

#include <cstdlib>
#include <string>
#include <vector>

#include "BenchMesh.h"
#include "Pictures.h"
#include "SolidMotion.h"

namespace vyn::bench {

namespace {

// Interleaved position and normal, as the vertex buffer holds them.
struct PeerVertex {
  float position[3];
  float normal[3];
};

class LlvmpipePeer final : public FrameSource {
 public:
  ~LlvmpipePeer() override {
    if (context_ != nullptr) {
      if (buffers_[0] != 0) glDeleteBuffers(3, buffers_);
      OSMesaDestroyContext(context_);
    }
  }

  bool setUp(const ScenarioOptions& options, const Case& c, std::string& error) override {
    width_ = options.size.width;
    height_ = options.size.height;
    wireframe_ = c.style == Style::Wireframe;
    motion_ = SolidMotion(options.speed);

    BenchMesh mesh;
    if (!BuildBenchMesh(PicturePath(options, c.picture), mesh, error)) return false;
    if (!createContext(error)) return false;
    uploadMesh(mesh);
    setFixedState();
    return true;
  }

  void drawFrame() override {
    motion_.step();
    motion_.move();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    loadObjectTransform();
    if (wireframe_) {
      glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers_[2]);
      glDrawElements(GL_QUADS, quadIndexCount_, GL_UNSIGNED_INT, nullptr);
    } else {
      glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers_[1]);
      glDrawElements(GL_TRIANGLES, triangleIndexCount_, GL_UNSIGNED_INT, nullptr);
    }
    // The present: the finished frame copied into memory that is not the
    // renderer's own.
    glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_BYTE, presented_.data());
  }

  bool snapshot(FrameImage& image) override {
    image.width = width_;
    image.height = height_;
    image.pixels.resize(presented_.size());
    // OpenGL's rows run bottom-up.
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        image.pixels[static_cast<std::size_t>(y) * width_ + x] =
            presented_[static_cast<std::size_t>(height_ - 1 - y) * width_ + x] & 0x00FFFFFFu;
    return true;
  }

  long long triangleCount() const override { return triangleIndexCount_ / 3; }

 private:
  bool createContext(std::string& error) {
    const int attributes[] = {OSMESA_FORMAT, OSMESA_BGRA, OSMESA_DEPTH_BITS, 16, OSMESA_STENCIL_BITS, 0,
                              OSMESA_ACCUM_BITS, 0, OSMESA_PROFILE, OSMESA_COMPAT_PROFILE, 0};
    context_ = OSMesaCreateContextAttribs(attributes, nullptr);
    if (context_ == nullptr) {
      error = "OSMesaCreateContextAttribs failed";
      return false;
    }
    colorBuffer_.assign(static_cast<std::size_t>(width_) * height_, 0);
    presented_.assign(colorBuffer_.size(), 0);
    if (!OSMesaMakeCurrent(context_, colorBuffer_.data(), GL_UNSIGNED_BYTE, width_, height_)) {
      error = "OSMesaMakeCurrent failed";
      return false;
    }
    return true;
  }

  void uploadMesh(const BenchMesh& mesh) {
    std::vector<PeerVertex> vertices(mesh.vertexCount());
    for (std::size_t v = 0; v < vertices.size(); ++v)
      for (int i = 0; i < 3; ++i) {
        vertices[v].position[i] = mesh.positions[3 * v + i];
        vertices[v].normal[i] = mesh.normals[3 * v + i];
      }
    // Each four-cornered face as the fan (0, 1, 2), (0, 2, 3).
    std::vector<GLuint> triangles;
    triangles.reserve(mesh.faceCount() * 6);
    for (std::size_t f = 0; f < mesh.faceCount(); ++f) {
      const std::uint32_t* q = &mesh.quads[4 * f];
      triangles.insert(triangles.end(), {q[0], q[1], q[2], q[0], q[2], q[3]});
    }
    triangleIndexCount_ = static_cast<GLsizei>(triangles.size());
    quadIndexCount_ = static_cast<GLsizei>(mesh.quads.size());

    glGenBuffers(3, buffers_);
    glBindBuffer(GL_ARRAY_BUFFER, buffers_[0]);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(PeerVertex)), vertices.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers_[1]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(triangles.size() * sizeof(GLuint)),
                 triangles.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers_[2]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.quads.size() * sizeof(GLuint)),
                 mesh.quads.data(), GL_STATIC_DRAW);

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(PeerVertex), nullptr);
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, sizeof(PeerVertex), reinterpret_cast<const void*>(offsetof(PeerVertex, normal)));
  }

  // Camera, lights, material and culling of the saver's scene.
  void setFixedState() {
    glViewport(0, 0, width_, height_);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);

    // Field 0.5 on the larger axis at the front plane 1, back plane 5000.
    double larger = width_ >= height_ ? width_ : height_;
    double halfX = 0.5 * width_ / larger, halfY = 0.5 * height_ / larger;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-halfX, halfX, -halfY, halfY, 1.0, 5000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // The saver's world is left-handed with +z into the screen; the view
    // flips z, which keeps the picture and makes clockwise faces front.
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);

    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glColor4fv(white);
    if (wireframe_) {
      glDisable(GL_LIGHTING);
      glShadeModel(GL_FLAT);
      glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
      return;
    }
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    const GLfloat ambient[4] = {0.1f, 0.1f, 0.1f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glEnable(GL_LIGHT0);
    const GLfloat none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat bright[4] = {0.9f, 0.9f, 0.9f, 1.0f};
    // A directional light shining along the saver's +z: in the flipped view
    // it comes from the viewer's side.
    const GLfloat towardsLight[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, bright);
    glLightfv(GL_LIGHT0, GL_SPECULAR, none);
    glLightfv(GL_LIGHT0, GL_POSITION, towardsLight);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glColor4fv(white);
    glMaterialfv(GL_FRONT, GL_SPECULAR, none);
  }

  // The object's placement in the root, followed by the flip of z.
  void loadObjectTransform() {
    const auto& axes = motion_.axes();
    const auto& p = motion_.position();
    GLdouble m[16];
    for (int column = 0; column < 3; ++column) {
      m[4 * column + 0] = axes[column][0];
      m[4 * column + 1] = axes[column][1];
      m[4 * column + 2] = -axes[column][2];
      m[4 * column + 3] = 0.0;
    }
    m[12] = p[0];
    m[13] = p[1];
    m[14] = -p[2];
    m[15] = 1.0;
    glLoadMatrixd(m);
  }

  OSMesaContext context_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool wireframe_ = false;
  SolidMotion motion_{5.0};
  std::vector<std::uint32_t> colorBuffer_;
  std::vector<std::uint32_t> presented_;
  GLuint buffers_[3] = {0, 0, 0};
  GLsizei triangleIndexCount_ = 0;
  GLsizei quadIndexCount_ = 0;
};

}  // namespace

void ChooseLlvmpipe(int threads) {
  setenv("GALLIUM_DRIVER", "llvmpipe", 1);
  setenv("LP_NUM_THREADS", std::to_string(threads).c_str(), 1);
}

std::unique_ptr<FrameSource> MakeLlvmpipePeer() { return std::make_unique<LlvmpipePeer>(); }

}  // namespace vyn::bench
