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
  // Frames timed after the first. The solid's size on the screen changes as
  // it travels, so every renderer draws the same frames: 380 ticks are one
  // whole trip in depth from the start (out to 50, back to 12, out to 15).
  int frames = 380;
  double seconds = 0.0;              // with frames 0: time frames for this long instead
  int speed = 5;                     // SPEED of the settings file
  std::string picturesDir;           // where circle.BMP, ring.BMP and stripes.BMP lie
  std::string dumpDir;               // --dump-png: write frames here as PNG
  int dumpFrame = 60;                // which frame to dump besides the first
  int threads = 0;                   // our renderer's thread count; 0: its own choice
  int repeat = 1;                    // runs of each case and renderer, alternating; the best is kept
  bool checkMotion = false;          // compare the peer's motion with our frames and stop
  bool verbose = false;              // children also print their set-up steps

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
