// Win32 GDI calls: device contexts, stock objects, bitmaps loaded from files,
// pixel reads, device capabilities and the system palette.
#pragma once

#include "kernel/Win32Types.h"

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};

// GetDeviceCaps
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;

// GetStockObject
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;

// LoadImage
inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT LR_DEFAULTCOLOR = 0x00000000;
inline constexpr UINT LR_LOADFROMFILE = 0x00000010;
inline constexpr UINT LR_CREATEDIBSECTION = 0x00002000;

inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

HDC GetDC(HWND window);  // null window: the screen
int ReleaseDC(HWND window, HDC dc);
int GetDeviceCaps(HDC dc, int index);
UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, LPPALETTEENTRY entries);
HGDIOBJ GetStockObject(int object);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
COLORREF GetPixel(HDC dc, int x, int y);
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags);
int GetObjectA(HANDLE object, int size, LPVOID buffer);
