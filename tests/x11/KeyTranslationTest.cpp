// X key symbols as Windows virtual keys.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "display/x11/KeyTranslation.h"

namespace vyn::display::x11 {
namespace {

TEST(KeyTranslation, SymbolsMapToTheirVirtualKeys) {
  struct Case {
    KeySym symbol;
    unsigned virtualKey;
  };
  const Case cases[] = {
      {XK_a, 'A'},          {XK_z, 'Z'},          {XK_Q, 'Q'},          {XK_0, '0'},
      {XK_9, '9'},          {XK_Return, 0x0D},    {XK_KP_Enter, 0x0D},  {XK_Escape, 0x1B},
      {XK_space, 0x20},     {XK_BackSpace, 0x08}, {XK_Tab, 0x09},       {XK_Shift_L, 0x10},
      {XK_Control_R, 0x11}, {XK_Alt_L, 0x12},     {XK_Alt_R, 0x12},     {XK_Left, 0x25},
      {XK_Down, 0x28},      {XK_F1, 0x70},        {XK_F10, 0x79},       {XK_F24, 0x87},
      {XK_KP_0, 0x60},      {XK_KP_9, 0x69},      {XK_KP_Add, 0x6B},    {XK_KP_Home, 0x24},
      {XK_Delete, 0x2E},    {XK_Super_L, 0x5B},   {XK_comma, 0xBC},     {XK_apostrophe, 0xDE},
      {XK_VoidSymbol, 0},   {XK_eacute, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VirtualKeyOf(c.symbol), c.virtualKey) << "symbol 0x" << std::hex << c.symbol;
}

TEST(KeyTranslation, OnlyAltAndMetaAreAlt) {
  EXPECT_TRUE(IsAltKey(XK_Alt_L));
  EXPECT_TRUE(IsAltKey(XK_Meta_R));
  EXPECT_FALSE(IsAltKey(XK_Control_L));
  EXPECT_FALSE(IsAltKey(XK_a));
}

}  // namespace
}  // namespace vyn::display::x11
