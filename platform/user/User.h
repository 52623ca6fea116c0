// Win32 user calls: window classes, windows, the message queue, the cursor,
// message boxes, system metrics and the active window.
#pragma once

#include "kernel/Shell.h"
#include "kernel/Win32Types.h"

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using LPMSG = MSG*;

// What CreateWindowExA passes with WM_NCCREATE and WM_CREATE (lParam).
struct CREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};

// Class styles
inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;

// Window styles
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;

// Messages
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_NCCREATE = 0x0081;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_USER = 0x0400;

// CreateWindowEx position and size
inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// WM_SIZE
inline constexpr WPARAM SIZE_RESTORED = 0;

// WM_ACTIVATE
inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;

// Mouse message key states (wParam)
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;
inline constexpr int WHEEL_DELTA = 120;

// Virtual-key codes
inline constexpr unsigned VK_BACK = 0x08;
inline constexpr unsigned VK_TAB = 0x09;
inline constexpr unsigned VK_RETURN = 0x0D;
inline constexpr unsigned VK_SHIFT = 0x10;
inline constexpr unsigned VK_CONTROL = 0x11;
inline constexpr unsigned VK_MENU = 0x12;
inline constexpr unsigned VK_PAUSE = 0x13;
inline constexpr unsigned VK_CAPITAL = 0x14;
inline constexpr unsigned VK_ESCAPE = 0x1B;
inline constexpr unsigned VK_SPACE = 0x20;
inline constexpr unsigned VK_PRIOR = 0x21;
inline constexpr unsigned VK_NEXT = 0x22;
inline constexpr unsigned VK_END = 0x23;
inline constexpr unsigned VK_HOME = 0x24;
inline constexpr unsigned VK_LEFT = 0x25;
inline constexpr unsigned VK_UP = 0x26;
inline constexpr unsigned VK_RIGHT = 0x27;
inline constexpr unsigned VK_DOWN = 0x28;
inline constexpr unsigned VK_INSERT = 0x2D;
inline constexpr unsigned VK_DELETE = 0x2E;
inline constexpr unsigned VK_LWIN = 0x5B;
inline constexpr unsigned VK_RWIN = 0x5C;
inline constexpr unsigned VK_NUMPAD0 = 0x60;
inline constexpr unsigned VK_MULTIPLY = 0x6A;
inline constexpr unsigned VK_ADD = 0x6B;
inline constexpr unsigned VK_SUBTRACT = 0x6D;
inline constexpr unsigned VK_DECIMAL = 0x6E;
inline constexpr unsigned VK_DIVIDE = 0x6F;
inline constexpr unsigned VK_F1 = 0x70;
inline constexpr unsigned VK_F4 = 0x73;
inline constexpr unsigned VK_F10 = 0x79;
inline constexpr unsigned VK_F24 = 0x87;
inline constexpr unsigned VK_NUMLOCK = 0x90;
inline constexpr unsigned VK_SCROLL = 0x91;
inline constexpr unsigned VK_OEM_1 = 0xBA;       // ;:
inline constexpr unsigned VK_OEM_PLUS = 0xBB;    // =+
inline constexpr unsigned VK_OEM_COMMA = 0xBC;   // ,<
inline constexpr unsigned VK_OEM_MINUS = 0xBD;   // -_
inline constexpr unsigned VK_OEM_PERIOD = 0xBE;  // .>
inline constexpr unsigned VK_OEM_2 = 0xBF;       // /?
inline constexpr unsigned VK_OEM_3 = 0xC0;       // `~
inline constexpr unsigned VK_OEM_4 = 0xDB;       // [{
inline constexpr unsigned VK_OEM_5 = 0xDC;       // \|
inline constexpr unsigned VK_OEM_6 = 0xDD;       // ]}
inline constexpr unsigned VK_OEM_7 = 0xDE;       // '"

// WM_SYSCOMMAND
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_KEYMENU = 0xF100;
inline constexpr WPARAM SC_SCREENSAVE = 0xF140;

// PeekMessage
inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

// GetSystemMetrics
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;

// Message boxes
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONERROR = 0x00000010;
inline constexpr int IDOK = 1;

// Window-layer errors reported by GetLastError.
inline constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
inline constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
inline constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
inline constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;

// Resource names given as integers (MAKEINTRESOURCE).
inline LPCSTR MakeIntResourceA(WORD id) { return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(id)); }
inline const LPCSTR IDC_ARROW = MakeIntResourceA(32512);
inline const LPCSTR IDC_IBEAM = MakeIntResourceA(32513);
inline const LPCSTR IDC_WAIT = MakeIntResourceA(32514);
inline const LPCSTR IDC_CROSS = MakeIntResourceA(32515);
inline const LPCSTR IDI_APPLICATION = MakeIntResourceA(32512);
// True when a resource name is an integer identifier, not a string.
inline bool IsIntResource(LPCSTR name) { return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0; }

ATOM RegisterClassA(const WNDCLASSA* windowClass);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
BOOL ShowWindow(HWND window, int showCommand);
BOOL UpdateWindow(HWND window);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
int ShowCursor(BOOL show);
HWND GetActiveWindow();
int GetSystemMetrics(int index);
BOOL GetClientRect(HWND window, LPRECT rect);
BOOL GetWindowRect(HWND window, LPRECT rect);
BOOL ClientToScreen(HWND window, LPPOINT point);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
