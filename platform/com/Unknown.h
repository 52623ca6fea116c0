// The root of every platform object: a reference-counted interface reached
// through its interface table (a C++ vtable here).
#pragma once

#include "kernel/Win32Types.h"

// {00000000-0000-0000-C000-000000000046}
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IUnknown {
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  // Both return the new reference count; the object goes when it reaches 0.
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;
