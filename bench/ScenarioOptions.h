// What one benchmark run measures: which renderers, pictures and styles, at
// which screen size, for how long, and where the frame dumps go.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vyn::bench {

enum class Renderer { Ours, Llvmpipe };
enum class Style { Shaded, Wireframe };

const char* RendererName(Renderer renderer);  // "ours", "llvmpipe"
const char* StyleName(Style style);           // "shaded", "wireframe"

// One picture in one style: "circle-shaded", "stripes-wireframe".
struct Case {
  std::string picture;  // "circle", "ring", "stripes", or a path to a .bmp
  Style style = Style::Shaded;

  std::string name() const;
};

struct ScreenSize {
  int width = 1920;
  int height = 1080;
  int bitsPerPixel = 32;
};

struct ScenarioOptions {
  std::vector<Case> cases;           // every picture in both styles unless chosen
  std::vector<Renderer> renderers;   // ours and, when it is built, llvmpipe
  ScreenSize size;
  int frames = 0;                    // frames timed after the first; 0: time `seconds`
  double seconds = 3.0;              // how long to time when `frames` is 0
  int speed = 5;                     // SPEED of the settings file
  std::string picturesDir;           // where circle.BMP, ring.BMP and stripes.BMP lie
  std::string dumpDir;               // --dump-png: write frames here as PNG
  int dumpFrame = 60;                // which frame to dump besides the first
  int threads = 0;                   // our renderer's thread count; 0: its own choice
  bool checkMotion = false;          // compare the peer's motion with our frames and stop

  // The child that runs one case of one renderer and prints its result.
  std::optional<Renderer> childRenderer;
  long long childStartNs = 0;        // CLOCK_MONOTONIC at the parent's spawn
};

// Parses the command line; on a bad argument writes the reason and the usage
// to `error` and returns nothing.
std::optional<ScenarioOptions> ParseScenarioOptions(int argc, char** argv, std::string& error);

std::string ScenarioUsage();

// The command-line arguments that make a child run `c` with `renderer`
// under the same options.
std::vector<std::string> ChildArguments(const ScenarioOptions& options, Renderer renderer, const Case& c,
                                        long long startNs);

}  // namespace vyn::bench
