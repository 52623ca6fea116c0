// System metrics: the size of the primary screen, from the display.
#include "display/Display.h"
#include "user/User.h"

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return vyn::display::ActiveDisplay().width();
    case SM_CYSCREEN: return vyn::display::ActiveDisplay().height();
    default: return 0;  // what Windows answers for an index it does not know
  }
}
