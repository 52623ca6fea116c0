#include "d3drm/MeshBuilder.h"

#include <cmath>
#include <limits>
#include <new>
#include <unordered_map>

#include "d3drm/Face.h"
#include "d3drm/Iids.h"
#include "d3drm/Mesh.h"
#include "testctl/TestControls.h"

namespace vyn::d3drm {

namespace {

// Indices must stay representable as the int that AddVertex returns.
constexpr std::size_t MaxElements = static_cast<std::size_t>(std::numeric_limits<int>::max());
constexpr std::uint32_t NoVertex = std::numeric_limits<std::uint32_t>::max();

void Normalize(float& x, float& y, float& z) {
  const float length = std::sqrt(x * x + y * y + z * z);
  if (length > 0) {
    x /= length;
    y /= length;
    z /= length;
  }
}

}  // namespace

HRESULT MeshBuilder::QueryInterface(REFIID iid, void** object) {
  IDirect3DRMMeshBuilder2* self = this;
  return com::QueryFor(self, iid, object,
                       {{&IID_IUnknown, self}, {&IID_Object, self}, {&IID_Visual, self},
                        {&IID_MeshBuilder, self}, {&IID_MeshBuilder2, self}});
}

int MeshBuilder::AddVertex(D3DVALUE x, D3DVALUE y, D3DVALUE z) {
  if (testctl::Enter("IDirect3DRMMeshBuilder::AddVertex", this) != S_OK) return -1;
  if (vertices_.size() >= MaxElements) return -1;
  try {
    vertices_.push_back({x, y, z});
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return static_cast<int>(vertices_.size() - 1);
}

int MeshBuilder::AddNormal(D3DVALUE x, D3DVALUE y, D3DVALUE z) {
  if (testctl::Enter("IDirect3DRMMeshBuilder::AddNormal", this) != S_OK) return -1;
  if (normals_.size() >= MaxElements) return -1;
  try {
    normals_.push_back({x, y, z});
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return static_cast<int>(normals_.size() - 1);
}

HRESULT MeshBuilder::CreateFace(LPDIRECT3DRMFACE* face) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMMeshBuilder::CreateFace", this); hr != S_OK) return hr;
  if (face == nullptr) return D3DRMERR_BADVALUE;
  *face = nullptr;
  if (faces_.size() >= MaxElements) return D3DRMERR_BADALLOC;
  try {
    faces_.push_back({static_cast<std::uint32_t>(corners_.size()), 0});
    *face = new Face(this, static_cast<std::uint32_t>(faces_.size() - 1));
  } catch (const std::bad_alloc&) {
    return D3DRMERR_BADALLOC;
  }
  return D3DRM_OK;
}

HRESULT MeshBuilder::AppendCorner(std::uint32_t face, std::uint32_t vertex, std::uint32_t normal) {
  if (vertex >= vertices_.size() || normal >= normals_.size()) return D3DRMERR_BADVALUE;
  if (corners_.size() >= MaxElements) return D3DRMERR_BADALLOC;
  FaceRange& range = faces_[face];
  try {
    if (range.first + range.count != corners_.size()) {
      // Corners of one face stay contiguous: a face that is not the last one
      // written moves its corners to the end (faces are normally filled one
      // after another, so this is rare). CreateMesh skips the hole left.
      const std::uint32_t moved = static_cast<std::uint32_t>(corners_.size());
      for (std::uint32_t i = 0; i < range.count; ++i) corners_.push_back(corners_[range.first + i]);
      range.first = moved;
    }
    corners_.push_back({vertex, normal});
  } catch (const std::bad_alloc&) {
    return D3DRMERR_BADALLOC;
  }
  ++range.count;
  return D3DRM_OK;
}

HRESULT MeshBuilder::CreateMesh(LPDIRECT3DRMMESH* mesh) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMMeshBuilder::CreateMesh", this); hr != S_OK) return hr;
  if (mesh == nullptr) return D3DRMERR_BADVALUE;
  *mesh = nullptr;
  try {
    *mesh = new Mesh(BuildGeometry());
  } catch (const std::bad_alloc&) {
    return D3DRMERR_BADALLOC;
  }
  return D3DRM_OK;
}

HRESULT MeshBuilder::GetBox(D3DRMBOX* box) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMMeshBuilder::GetBox", this); hr != S_OK) return hr;
  if (box == nullptr) return D3DRMERR_BADVALUE;
  *box = ComputeBox();
  return D3DRM_OK;
}

// An empty builder has the box (0, 0, 0)-(0, 0, 0).
D3DRMBOX MeshBuilder::ComputeBox() const {
  D3DRMBOX box{};
  if (vertices_.empty()) return box;
  box.min = box.max = {vertices_[0].x, vertices_[0].y, vertices_[0].z};
  for (const Vec3f& v : vertices_) {
    box.min.x = std::fmin(box.min.x, v.x);
    box.min.y = std::fmin(box.min.y, v.y);
    box.min.z = std::fmin(box.min.z, v.z);
    box.max.x = std::fmax(box.max.x, v.x);
    box.max.y = std::fmax(box.max.y, v.y);
    box.max.z = std::fmax(box.max.z, v.z);
  }
  return box;
}

int MeshBuilder::GetFaceCount() {
  testctl::Enter("IDirect3DRMMeshBuilder::GetFaceCount", this);
  return static_cast<int>(faces_.size());
}

int MeshBuilder::GetVertexCount() {
  testctl::Enter("IDirect3DRMMeshBuilder::GetVertexCount", this);
  return static_cast<int>(vertices_.size());
}

D3DRMRENDERQUALITY MeshBuilder::GetQuality() {
  testctl::Enter("IDirect3DRMMeshBuilder::GetQuality", this);
  return quality_;
}

HRESULT MeshBuilder::Scale(D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMMeshBuilder::Scale", this); hr != S_OK) return hr;
  for (Vec3f& v : vertices_) {
    v.x *= sx;
    v.y *= sy;
    v.z *= sz;
  }
  // A non-uniform scale tilts the surfaces: normals follow the inverse scale
  // (they are normalised again when the mesh is made).
  if ((sx != sy || sy != sz) && sx != 0 && sy != 0 && sz != 0) {
    for (Vec3f& n : normals_) {
      n.x /= sx;
      n.y /= sy;
      n.z /= sz;
    }
  }
  return D3DRM_OK;
}

HRESULT MeshBuilder::SetColor(D3DCOLOR color) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMMeshBuilder::SetColor", this); hr != S_OK) return hr;
  color_ = color;
  return D3DRM_OK;
}

HRESULT MeshBuilder::SetQuality(D3DRMRENDERQUALITY quality) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMMeshBuilder::SetQuality", this); hr != S_OK) return hr;
  quality_ = quality;
  return D3DRM_OK;
}

MeshGeometry MeshBuilder::BuildGeometry() const {
  MeshGeometry g;
  g.quality = quality_;
  g.color = color_;
  // The box of the mesh is the builder's, over every vertex.
  g.box = ComputeBox();

  std::size_t drawable = 0;
  std::size_t drawableCorners = 0;
  std::uint32_t commonCount = 0;
  bool uniform = true;
  for (const FaceRange& f : faces_) {
    if (f.count < 3) continue;  // a point or a line encloses nothing to draw
    if (drawable == 0) commonCount = f.count;
    uniform = uniform && f.count == commonCount;
    ++drawable;
    drawableCorners += f.count;
  }
  g.cornersPerFace = uniform ? commonCount : 0;
  g.corners.reserve(drawableCorners);
  // Usually one mesh vertex per builder vertex: reserving that keeps the
  // arrays from growing by doubling (and from a copy to shrink them).
  for (auto* array : {&g.x, &g.y, &g.z, &g.nx, &g.ny, &g.nz}) array->reserve(vertices_.size());
  g.faceNx.reserve(drawable);
  g.faceNy.reserve(drawable);
  g.faceNz.reserve(drawable);
  if (!uniform) g.faceStart.reserve(drawable + 1);

  // A builder vertex becomes one mesh vertex per distinct normal it is used
  // with. Most vertices meet only one normal: remember that one directly and
  // fall back to a map for the others.
  std::vector<std::uint32_t> firstNormal(vertices_.size(), NoVertex);
  std::vector<std::uint32_t> meshIndex(vertices_.size(), NoVertex);
  std::unordered_map<std::uint64_t, std::uint32_t> further;
  const auto emit = [&](const FaceCorner& c) {
    const Vec3f& p = vertices_[c.vertex];
    Vec3f n = normals_[c.normal];
    Normalize(n.x, n.y, n.z);
    g.x.push_back(p.x);
    g.y.push_back(p.y);
    g.z.push_back(p.z);
    g.nx.push_back(n.x);
    g.ny.push_back(n.y);
    g.nz.push_back(n.z);
    return static_cast<std::uint32_t>(g.x.size() - 1);
  };
  const auto indexOf = [&](const FaceCorner& c) {
    if (firstNormal[c.vertex] == NoVertex) {
      firstNormal[c.vertex] = c.normal;
      return meshIndex[c.vertex] = emit(c);
    }
    if (firstNormal[c.vertex] == c.normal) return meshIndex[c.vertex];
    const std::uint64_t key = (static_cast<std::uint64_t>(c.vertex) << 32) | c.normal;
    const auto found = further.find(key);
    if (found != further.end()) return found->second;
    const std::uint32_t index = emit(c);
    further.emplace(key, index);
    return index;
  };

  for (const FaceRange& f : faces_) {
    if (f.count < 3) continue;
    if (!uniform) g.faceStart.push_back(static_cast<std::uint32_t>(g.corners.size()));
    // Newell's method: the plane normal of a polygon, robust for slightly
    // non-planar or partly degenerate faces. It points towards a viewer who
    // sees the corners run clockwise (the front side).
    double nx = 0, ny = 0, nz = 0;
    for (std::uint32_t i = 0; i < f.count; ++i) {
      const FaceCorner& c = corners_[f.first + i];
      const Vec3f& a = vertices_[c.vertex];
      const Vec3f& b = vertices_[corners_[f.first + (i + 1) % f.count].vertex];
      nx += (double(a.y) - b.y) * (double(a.z) + b.z);
      ny += (double(a.z) - b.z) * (double(a.x) + b.x);
      nz += (double(a.x) - b.x) * (double(a.y) + b.y);
      g.corners.push_back(indexOf(c));
    }
    float fx = static_cast<float>(nx), fy = static_cast<float>(ny), fz = static_cast<float>(nz);
    Normalize(fx, fy, fz);
    g.faceNx.push_back(fx);
    g.faceNy.push_back(fy);
    g.faceNz.push_back(fz);
  }
  if (!uniform) g.faceStart.push_back(static_cast<std::uint32_t>(g.corners.size()));
  return g;
}

}  // namespace vyn::d3drm
