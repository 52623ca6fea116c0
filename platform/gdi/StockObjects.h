// Stock GDI objects as fixed pseudo-handles, so that the window layer can
// paint a class background brush without linking GDI. GetStockObject returns
// StockObjectHandle(index); StockBrushColor reads the colour back.
#pragma once

#include <cstdint>

#include "gdi/Gdi.h"

namespace vyn::gdi {

// Stock objects live at the top of the address space, where no allocation
// can be: 0xFFFF0000 + the GetStockObject index.
inline constexpr std::uintptr_t StockHandleBase = ~std::uintptr_t{0} - 0xFFFF;
inline constexpr int StockObjectCount = 6;  // WHITE_BRUSH .. NULL_BRUSH

inline HGDIOBJ StockObjectHandle(int index) {
  if (index < 0 || index >= StockObjectCount) return nullptr;
  return reinterpret_cast<HGDIOBJ>(StockHandleBase + static_cast<std::uintptr_t>(index));
}

// The stock index of a handle, or -1 when it is no stock object.
inline int StockObjectIndex(const void* handle) {
  auto value = reinterpret_cast<std::uintptr_t>(handle);
  if (value < StockHandleBase || value >= StockHandleBase + StockObjectCount) return -1;
  return static_cast<int>(value - StockHandleBase);
}

// The colour of a solid stock brush (WHITE, LTGRAY, GRAY, DKGRAY, BLACK);
// false for the null brush and for anything that is not a stock brush.
inline bool StockBrushColor(HBRUSH brush, COLORREF* color) {
  static constexpr COLORREF colors[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
  int index = StockObjectIndex(brush);
  if (index < 0 || index >= static_cast<int>(sizeof colors / sizeof colors[0])) return false;
  *color = colors[index];
  return true;
}

}  // namespace vyn::gdi
