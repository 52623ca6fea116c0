#include "ScenarioOptions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vyn::bench {

namespace {

const char* const kPictures[] = {"circle", "ring", "stripes"};

bool ParseInt(const char* text, int& value) {
  char* end = nullptr;
  long parsed = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || parsed < 0 || parsed > 1000000000) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool ParseSize(const char* text, ScreenSize& size) {
  int w = 0, h = 0, bits = 32;
  int fields = std::sscanf(text, "%dx%dx%d", &w, &h, &bits);
  if (fields < 2 || w <= 0 || h <= 0 || w > 16384 || h > 16384) return false;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  size = {w, h, bits};
  return true;
}

bool ParseStyle(const std::string& text, Style& style) {
  if (text == "shaded") {
    style = Style::Shaded;
    return true;
  }
  if (text == "wireframe" || text == "wire") {
    style = Style::Wireframe;
    return true;
  }
  return false;
}

// "circle-shaded", "ring-wireframe", "/tmp/x.bmp-shaded", or a bare picture
// (both styles).
bool ParseCase(const std::string& text, std::vector<Case>& cases) {
  std::size_t dash = text.rfind('-');
  Style style{};
  if (dash != std::string::npos && ParseStyle(text.substr(dash + 1), style)) {
    cases.push_back({text.substr(0, dash), style});
    return !cases.back().picture.empty();
  }
  if (text.empty()) return false;
  cases.push_back({text, Style::Shaded});
  cases.push_back({text, Style::Wireframe});
  return true;
}

bool ParseRenderer(const std::string& text, std::vector<Renderer>& renderers) {
  if (text == "ours") {
    renderers.push_back(Renderer::Ours);
  } else if (text == "llvmpipe") {
    renderers.push_back(Renderer::Llvmpipe);
  } else if (text == "both") {
    renderers.push_back(Renderer::Ours);
    renderers.push_back(Renderer::Llvmpipe);
  } else {
    return false;
  }
  return true;
}

}  // namespace

const char* RendererName(Renderer renderer) { return renderer == Renderer::Ours ? "ours" : "llvmpipe"; }

const char* StyleName(Style style) { return style == Style::Shaded ? "shaded" : "wireframe"; }

std::string Case::name() const { return picture + "-" + StyleName(style); }

std::string ScenarioUsage() {
  return "usage: vyn_bench [options]\n"
         "  --case PICTURE[-shaded|-wireframe]  circle, ring, stripes or a .bmp path (repeatable;\n"
         "                                      default: all three pictures in both styles)\n"
         "  --renderer ours|llvmpipe|both       default: both when the llvmpipe peer is built\n"
         "  --size WIDTHxHEIGHT[xBITS]          default 1920x1080x32\n"
         "  --frames N                          time N frames after the first (default 380: one\n"
         "                                      trip in depth, the same frames for every renderer)\n"
         "  --seconds S                         time as many frames as S seconds allow instead\n"
         "  --speed DEGREES                     spin per frame, 1 to 10 (default 5)\n"
         "  --threads N                         our renderer's threads (default: its own choice)\n"
         "  --repeat N                          run each case N times, the renderers in turn, and keep\n"
         "                                      the best figures (a busy machine only ever slows a run)\n"
         "  --pictures DIR                      folder with circle.BMP, ring.BMP, stripes.BMP\n"
         "  --dump-png DIR                      write the first and the Nth frame as PNG\n"
         "  --dump-frame N                      which frame besides the first (default 60)\n"
         "  --check-motion                      compare the peer's motion with ours and stop\n"
         "  --verbose                           print how long each step of the set-up took (wall/cpu ms)\n"
         "  --child ours|llvmpipe               run the one --case in this process (for profilers)\n";
}

std::optional<ScenarioOptions> ParseScenarioOptions(int argc, char** argv, std::string& error) {
  ScenarioOptions options;
  auto fail = [&](const std::string& why) -> std::optional<ScenarioOptions> {
    error = why + "\n" + ScenarioUsage();
    return std::nullopt;
  };
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (arg == "--help" || arg == "-h") return fail("");
    if (arg == "--verbose") {
      options.verbose = true;
      continue;
    }
    if (arg == "--check-motion") {
      options.checkMotion = true;
      continue;
    }
    const char* v = value();
    if (v == nullptr) return fail("missing value after " + arg);
    if (arg == "--case") {
      if (!ParseCase(v, options.cases)) return fail(std::string("bad case: ") + v);
    } else if (arg == "--renderer") {
      if (!ParseRenderer(v, options.renderers)) return fail(std::string("bad renderer: ") + v);
    } else if (arg == "--size") {
      if (!ParseSize(v, options.size)) return fail(std::string("bad size: ") + v);
    } else if (arg == "--frames") {
      if (!ParseInt(v, options.frames) || options.frames < 1) return fail(std::string("bad frame count: ") + v);
    } else if (arg == "--seconds") {
      char* end = nullptr;
      options.seconds = std::strtod(v, &end);
      if (end == v || *end != '\0' || !(options.seconds > 0.0)) return fail(std::string("bad seconds: ") + v);
      options.frames = 0;
    } else if (arg == "--speed") {
      if (!ParseInt(v, options.speed) || options.speed < 1 || options.speed > 10)
        return fail(std::string("bad speed: ") + v);
    } else if (arg == "--repeat") {
      if (!ParseInt(v, options.repeat) || options.repeat < 1) return fail(std::string("bad repeat count: ") + v);
    } else if (arg == "--threads") {
      if (!ParseInt(v, options.threads)) return fail(std::string("bad thread count: ") + v);
    } else if (arg == "--pictures") {
      options.picturesDir = v;
    } else if (arg == "--dump-png") {
      options.dumpDir = v;
    } else if (arg == "--dump-frame") {
      if (!ParseInt(v, options.dumpFrame) || options.dumpFrame < 1) return fail(std::string("bad frame: ") + v);
    } else if (arg == "--child") {
      std::vector<Renderer> one;
      if (!ParseRenderer(v, one) || one.size() != 1) return fail(std::string("bad child renderer: ") + v);
      options.childRenderer = one[0];
    } else if (arg == "--child-start-ns") {
      options.childStartNs = std::atoll(v);
    } else {
      return fail("unknown option " + arg);
    }
  }
  if (options.cases.empty())
    for (const char* picture : kPictures) ParseCase(picture, options.cases);
  if (options.renderers.empty()) {
    options.renderers.push_back(Renderer::Ours);
#ifdef VYN_BENCH_HAVE_OSMESA
    options.renderers.push_back(Renderer::Llvmpipe);
#endif
  }
  return options;
}

std::vector<std::string> ChildArguments(const ScenarioOptions& options, Renderer renderer, const Case& c,
                                        long long startNs) {
  const ScreenSize& s = options.size;
  std::vector<std::string> args = {
      "--child", RendererName(renderer), "--case", c.name(),
      "--size", std::to_string(s.width) + "x" + std::to_string(s.height) + "x" + std::to_string(s.bitsPerPixel),
      "--speed", std::to_string(options.speed),
      "--threads", std::to_string(options.threads), "--dump-frame", std::to_string(options.dumpFrame),
      "--child-start-ns", std::to_string(startNs)};
  if (options.frames > 0) {
    args.insert(args.end(), {"--frames", std::to_string(options.frames)});
  } else {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.17g", options.seconds);
    args.insert(args.end(), {"--seconds", seconds});
  }
  if (!options.picturesDir.empty()) args.insert(args.end(), {"--pictures", options.picturesDir});
  if (!options.dumpDir.empty()) args.insert(args.end(), {"--dump-png", options.dumpDir});
  if (options.verbose) args.push_back("--verbose");
  return args;
}

}  // namespace vyn::bench
