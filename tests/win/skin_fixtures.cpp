#include "win/skin_fixtures.h"

#include <algorithm>

#include "framework/wnd.h"

namespace mv::wintest {

namespace gp = Gdiplus::DllExports;

void EnsureGdiplus() { static GdiplusSession session; }

bool WriteTestPng(const std::wstring& path, int width, int height, DWORD background,
                  const std::vector<ColourArea>& areas) {
    EnsureGdiplus();
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) != Gdiplus::Ok)
        return false;
    Gdiplus::GpGraphics* g = nullptr;
    gp::GdipGetImageGraphicsContext(bitmap, &g);
    gp::GdipGraphicsClear(g, background);
    for (const auto& a : areas) {
        Gdiplus::GpSolidFill* brush = nullptr;
        gp::GdipCreateSolidFill(a.argb, &brush);
        gp::GdipFillRectangleI(g, brush, a.rect.left, a.rect.top, a.rect.right - a.rect.left,
                               a.rect.bottom - a.rect.top);
        gp::GdipDeleteBrush(brush);
    }
    gp::GdipDeleteGraphics(g);
    static const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    const bool ok = gp::GdipSaveImageToFile(bitmap, path.c_str(), &png, nullptr) == Gdiplus::Ok;
    gp::GdipDisposeImage(bitmap);
    return ok;
}

std::wstring MakeTempFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name + L"_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

namespace {
void Send(DWORD flags, int x = 0, int y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = static_cast<LONG>((static_cast<long long>(x) * 65536 + cx / 2) / cx);
        input.mi.dy = static_cast<LONG>((static_cast<long long>(y) * 65536 + cy / 2) / cy);
    }
    SendInput(1, &input, sizeof input);
}
}  // namespace

void MoveMouse(int x, int y) {
    Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
    Pump(60);
}
void LeftDown() {
    Send(MOUSEEVENTF_LEFTDOWN);
    Pump(60);
}
void LeftUp() {
    Send(MOUSEEVENTF_LEFTUP);
    Pump(60);
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!fw::PreTranslate(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

COLORREF WindowPixel(HWND window, int x, int y) {
    UpdateWindow(window);
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

COLORREF ScreenPixel(int x, int y) {
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
}

std::wstring DistFolderWith(const wchar_t* probe) {
    wchar_t dist[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"MV_DIST_DIR", dist, MAX_PATH)) return {};
    std::wstring folder = dist;
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return GetFileAttributesW((folder + probe).c_str()) == INVALID_FILE_ATTRIBUTES ? std::wstring() : folder;
}

void SaveScreenshot(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"MV_SHOT_DIR", folder, MAX_PATH)) return;
    EnsureGdiplus();
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, cx, cy, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    Gdiplus::GpBitmap* image = nullptr;
    if (gp::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Gdiplus::Ok) {
        static const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
        const std::wstring path = std::wstring(folder) + L"\\" + name;
        gp::GdipSaveImageToFile(image, path.c_str(), &png, nullptr);
        gp::GdipDisposeImage(image);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

RECT PixelBounds(HWND window, COLORREF colour) {
    UpdateWindow(window);
    RECT client{};
    GetClientRect(window, &client);
    RECT box{client.right, client.bottom, -1, -1};
    HDC dc = GetDC(window);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (GetPixel(dc, x, y) == colour) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    ReleaseDC(window, dc);
    if (box.right < 0) return RECT{};
    return box;
}

}  // namespace mv::wintest
