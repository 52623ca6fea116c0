// A mesh builder that records every call made on it and on its faces, for
// checking the exact hand-off sequence without the retained-mode platform.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "d3drm/D3DRM.h"

namespace vyn::test {

struct BuilderCall {
  std::string what;  // "AddVertex", "AddNormal", "CreateFace", "Corner", "FaceRelease", "GetBox", "Scale"
  float x = 0, y = 0, z = 0;
  DWORD vertex = 0, normal = 0;
  friend bool operator==(const BuilderCall&, const BuilderCall&) = default;
};

class RecordingFace final : public IDirect3DRMFace {
 public:
  explicit RecordingFace(std::vector<BuilderCall>& log) : log_(log) {}
  HRESULT QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    log_.push_back({"FaceRelease"});
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT AddVertexAndNormalIndexed(DWORD vertex, DWORD normal) override {
    log_.push_back({"Corner", 0, 0, 0, vertex, normal});
    ++corners_;
    return S_OK;
  }
  int GetVertexCount() override { return corners_; }

 private:
  std::vector<BuilderCall>& log_;
  ULONG references_ = 1;
  int corners_ = 0;
};

class RecordingBuilder final : public IDirect3DRMMeshBuilder2 {
 public:
  std::vector<BuilderCall> log;
  std::vector<D3DVECTOR> vertices;

  HRESULT QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }  // lives on the test's stack
  int AddVertex(D3DVALUE x, D3DVALUE y, D3DVALUE z) override {
    log.push_back({"AddVertex", x, y, z});
    vertices.push_back({x, y, z});
    return static_cast<int>(vertices.size()) - 1;
  }
  int AddNormal(D3DVALUE x, D3DVALUE y, D3DVALUE z) override {
    log.push_back({"AddNormal", x, y, z});
    return normals_++;
  }
  HRESULT CreateFace(LPDIRECT3DRMFACE* face) override {
    log.push_back({"CreateFace"});
    *face = new RecordingFace(log);
    ++faces_;
    return S_OK;
  }
  HRESULT CreateMesh(LPDIRECT3DRMMESH* mesh) override {
    *mesh = nullptr;
    return E_NOTIMPL;
  }
  HRESULT GetBox(D3DRMBOX* box) override {
    log.push_back({"GetBox"});
    if (vertices.empty()) return E_FAIL;  // leaves the box as it is
    box->min = box->max = vertices.front();
    for (const D3DVECTOR& v : vertices) {
      box->min = {std::min(box->min.x, v.x), std::min(box->min.y, v.y), std::min(box->min.z, v.z)};
      box->max = {std::max(box->max.x, v.x), std::max(box->max.y, v.y), std::max(box->max.z, v.z)};
    }
    return S_OK;
  }
  int GetFaceCount() override { return faces_; }
  int GetVertexCount() override { return static_cast<int>(vertices.size()); }
  D3DRMRENDERQUALITY GetQuality() override { return 0; }
  HRESULT Scale(D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) override {
    log.push_back({"Scale", sx, sy, sz});
    return S_OK;
  }
  HRESULT SetColor(D3DCOLOR) override { return S_OK; }
  HRESULT SetQuality(D3DRMRENDERQUALITY) override { return S_OK; }

 private:
  int normals_ = 0;
  int faces_ = 0;
};

}  // namespace vyn::test
