// A 256-entry palette for 8-bit surfaces.
#pragma once

#include "com/ComObject.h"
#include "ddraw/DDraw.h"

namespace vyn::ddraw {

class Palette final : public com::ComObject<IDirectDrawPalette> {
 public:
  explicit Palette(const PALETTEENTRY* entries);

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT GetEntries(DWORD flags, DWORD base, DWORD count, LPPALETTEENTRY entries) override;
  HRESULT SetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY entries) override;

  const PALETTEENTRY* entries() const { return entries_; }

  static constexpr DWORD EntryCount = 256;

 private:
  PALETTEENTRY entries_[EntryCount];
};

// Our palette behind an interface pointer, or null for a foreign one.
Palette* PaletteFrom(IDirectDrawPalette* palette);

}  // namespace vyn::ddraw
