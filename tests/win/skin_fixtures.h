// Small skin sheets written by the tests themselves, real mouse input, and a
// message pump that passes messages through the framework's PreTranslateMessage.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/skin_picture_win.h"

namespace mv::wintest {

// GDI+ for the whole test run.
void EnsureGdiplus();

struct ColourArea {
    RECT rect;
    DWORD argb;  // 0xAARRGGBB
};
// Writes a PNG of width x height in `background` with the areas painted over it.
bool WriteTestPng(const std::wstring& path, int width, int height, DWORD background,
                  const std::vector<ColourArea>& areas);
// A fresh folder under the temporary directory, with a trailing backslash.
std::wstring MakeTempFolder(const wchar_t* name);

// COLORREF of an ARGB value.
constexpr COLORREF Ref(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

// Moves the pointer with SendInput (absolute) and presses/releases the left button.
void MoveMouse(int x, int y);
void LeftDown();
void LeftUp();

// Pumps this thread's messages through fw::PreTranslate for `ms` milliseconds.
void Pump(DWORD ms);
// The colour of a screen pixel of a window, read from the window's own DC.
COLORREF WindowPixel(HWND window, int clientX, int clientY);
// Screen DC pixel (what the user sees, other windows included).
COLORREF ScreenPixel(int x, int y);

// The program folder named by MV_DIST_DIR with a trailing backslash, when it holds the
// skin file `probe` (relative to it); empty otherwise.
std::wstring DistFolderWith(const wchar_t* probe);

// Saves the screen as a PNG into the folder named by MV_SHOT_DIR (when it is set).
void SaveScreenshot(const wchar_t* name);

// Bounding box of the pixels of `colour` in a window's client area; empty when none.
RECT PixelBounds(HWND window, COLORREF colour);

}  // namespace mv::wintest
