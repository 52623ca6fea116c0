#include "display/x11/ErrorTrap.h"

namespace vyn::display::x11 {
namespace {

int errorCount = 0;

int RecordError(::Display*, XErrorEvent*) {
  ++errorCount;
  return 0;
}

}  // namespace

void InstallErrorHandler() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  XSetErrorHandler(RecordError);
}

ErrorTrap::ErrorTrap(::Display* connection) : connection_(connection) {
  InstallErrorHandler();
  XSync(connection_, False);
  errorsBefore_ = errorCount;
}

ErrorTrap::~ErrorTrap() = default;

bool ErrorTrap::failed() {
  XSync(connection_, False);
  return errorCount != errorsBefore_;
}

}  // namespace vyn::display::x11
