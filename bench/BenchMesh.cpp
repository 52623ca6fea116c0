#include "BenchMesh.h"

#include <filesystem>

#include "SlabBitmap.h"
#include "SlabMesh.h"

namespace vyn::bench {

bool BuildBenchMesh(const std::string& path, BenchMesh& mesh, std::string& error) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) {
    error = "no picture at " + path + " (scripts/make_pictures.py makes them)";
    return false;
  }
  saver::PixelGrid grid = saver::LoadSlabBitmapFrom(path.c_str());
  if (grid.width <= 0 || grid.height <= 0) {
    error = "could not load " + path;
    return false;
  }
  saver::SlabMesh slabs = saver::BuildSlabMesh(grid);
  grid.Release();

  // The fit as the builder applies it: one single-precision factor for all
  // three axes, about the origin.
  const auto scale = static_cast<float>(saver::FitScale(saver::BoundingBox(slabs)));
  mesh.positions.resize(slabs.vertices.size() * 3);
  for (std::size_t v = 0; v < slabs.vertices.size(); ++v) {
    mesh.positions[3 * v + 0] = slabs.vertices[v].x * scale;
    mesh.positions[3 * v + 1] = slabs.vertices[v].y * scale;
    mesh.positions[3 * v + 2] = slabs.vertices[v].z * scale;
  }
  // Every corner that names a vertex names the same normal with it.
  mesh.normals.assign(slabs.vertices.size() * 3, 0.0f);
  mesh.quads.resize(slabs.faces.size() * 4);
  for (std::size_t f = 0; f < slabs.faces.size(); ++f) {
    for (int k = 0; k < 4; ++k) {
      const saver::FaceCorner& corner = slabs.faces[f][k];
      mesh.quads[4 * f + k] = corner.vertex;
      const D3DVECTOR& n = slabs.normals[corner.normal];
      mesh.normals[3 * corner.vertex + 0] = n.x;
      mesh.normals[3 * corner.vertex + 1] = n.y;
      mesh.normals[3 * corner.vertex + 2] = n.z;
    }
  }
  return true;
}

}  // namespace vyn::bench
