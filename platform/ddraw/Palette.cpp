#include "ddraw/Palette.h"

#include <algorithm>

namespace vyn::ddraw {
namespace {

bool fitsPalette(DWORD start, DWORD count) {
  return start <= Palette::EntryCount && count <= Palette::EntryCount - start;
}

}  // namespace

Palette::Palette(const PALETTEENTRY* entries) { std::copy(entries, entries + EntryCount, entries_); }

HRESULT Palette::QueryInterface(REFIID iid, void** object) {
  auto* self = static_cast<IDirectDrawPalette*>(this);
  if (HRESULT hr = testctl::Enter("IDirectDrawPalette::QueryInterface", self)) return hr;
  return com::QueryFor(self, iid, object, {{&IID_IUnknown, self}, {&IID_IDirectDrawPalette, self}});
}

HRESULT Palette::GetEntries(DWORD, DWORD base, DWORD count, LPPALETTEENTRY entries) {
  if (HRESULT hr = testctl::Enter("IDirectDrawPalette::GetEntries", static_cast<IDirectDrawPalette*>(this)))
    return hr;
  if (entries == nullptr || !fitsPalette(base, count)) return DDERR_INVALIDPARAMS;
  std::copy(entries_ + base, entries_ + base + count, entries);
  return DD_OK;
}

HRESULT Palette::SetEntries(DWORD, DWORD start, DWORD count, LPPALETTEENTRY entries) {
  if (HRESULT hr = testctl::Enter("IDirectDrawPalette::SetEntries", static_cast<IDirectDrawPalette*>(this)))
    return hr;
  if (entries == nullptr || !fitsPalette(start, count)) return DDERR_INVALIDPARAMS;
  std::copy(entries, entries + count, entries_ + start);
  return DD_OK;
}

Palette* PaletteFrom(IDirectDrawPalette* palette) { return dynamic_cast<Palette*>(palette); }

}  // namespace vyn::ddraw
