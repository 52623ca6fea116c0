// The solid as the peer draws it: one position and one normal per mesh
// vertex (each slab vertex always travels with the same normal), and faces of
// four vertex indices, already fitted to the saver's extent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vyn::bench {

struct BenchMesh {
  std::vector<float> positions;       // x, y, z per vertex, fitted
  std::vector<float> normals;         // x, y, z per vertex, as generated (not normalised)
  std::vector<std::uint32_t> quads;   // four vertex indices per face, in corner order

  std::size_t vertexCount() const { return positions.size() / 3; }
  std::size_t faceCount() const { return quads.size() / 4; }
};

// Loads the bitmap at `path` and builds the saver's slab mesh from it, with
// the saver's own generation and fit. False with a reason when the picture
// cannot be loaded.
bool BuildBenchMesh(const std::string& path, BenchMesh& mesh, std::string& error);

}  // namespace vyn::bench
