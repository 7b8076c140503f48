// Checks a skins folder the way the program reads it: every PNG through GDI+,
// every gesture animation through our GIF block parser and each of its frames,
// cut out as a standalone GIF, through OleLoadPicture.
//
//   skin_check.exe SKINS_DIR LIST_FILE
//
// LIST_FILE holds one "relative\path width height" line per expected file.
// Prints one line per failure and a closing "skin checks: N passed, M failed".
#include <windows.h>
#include <objidl.h>
#include <olectl.h>
#include <ocidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ui/gif_blocks.h"

namespace {

int g_passed = 0;
int g_failed = 0;

void Check(bool ok, const std::wstring& file, const char* what) {
    if (ok) {
        ++g_passed;
    } else {
        ++g_failed;
        std::printf("FAILED: %ls: %s\n", file.c_str(), what);
    }
}

std::vector<std::uint8_t> ReadFile(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return bytes;
    std::uint8_t buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

std::uint32_t Be32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

void CheckPng(const std::wstring& path, const std::wstring& name, int width, int height) {
    std::vector<std::uint8_t> bytes = ReadFile(path);
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    bool isPng = bytes.size() > 33 && std::memcmp(bytes.data(), kSignature, 8) == 0 &&
                 std::memcmp(&bytes[12], "IHDR", 4) == 0;
    Check(isPng, name, "not a PNG file");
    if (!isPng) return;
    Check(int(Be32(&bytes[16])) == width && int(Be32(&bytes[20])) == height, name, "PNG header size differs");
    Check(bytes[24] == 8 && bytes[25] == 2, name, "not an 8-bit RGB PNG");

    Gdiplus::GpBitmap* bitmap = nullptr;
    Gdiplus::GpStatus status = Gdiplus::DllExports::GdipCreateBitmapFromFile(path.c_str(), &bitmap);
    Check(status == Gdiplus::Ok && bitmap, name, "GDI+ cannot load it");
    if (!bitmap) return;
    UINT w = 0, h = 0;
    Gdiplus::DllExports::GdipGetImageWidth(bitmap, &w);
    Gdiplus::DllExports::GdipGetImageHeight(bitmap, &h);
    Check(int(w) == width && int(h) == height, name, "GDI+ size differs");
    // A corner pixel must come out opaque: the skins never rely on what lies beneath.
    Gdiplus::ARGB pixel = 0;
    Gdiplus::DllExports::GdipBitmapGetPixel(bitmap, 0, 0, &pixel);
    Check((pixel >> 24) == 0xFF, name, "corner pixel is not opaque");
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
}

// Decodes a standalone GIF with OleLoadPicture; returns the pixel size or 0 x 0.
SIZE DecodeGif(const std::vector<std::uint8_t>& data) {
    SIZE size{0, 0};
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, data.size());
    if (!memory) return size;
    void* p = GlobalLock(memory);
    std::memcpy(p, data.data(), data.size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return size;
    }
    IPicture* picture = nullptr;
    if (SUCCEEDED(OleLoadPicture(stream, LONG(data.size()), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture))) &&
        picture) {
        OLE_XSIZE_HIMETRIC hmw = 0;
        OLE_YSIZE_HIMETRIC hmh = 0;
        picture->get_Width(&hmw);
        picture->get_Height(&hmh);
        HDC screen = GetDC(nullptr);
        size.cx = MulDiv(hmw, GetDeviceCaps(screen, LOGPIXELSX), 2540);
        size.cy = MulDiv(hmh, GetDeviceCaps(screen, LOGPIXELSY), 2540);
        ReleaseDC(nullptr, screen);
        picture->Release();
    }
    stream->Release();
    return size;
}

void CheckGif(const std::wstring& path, const std::wstring& name, int width, int height) {
    std::vector<std::uint8_t> bytes = ReadFile(path);
    std::span<const std::uint8_t> data(bytes);
    auto header = mv::ParseGifHeader(data);
    Check(header.has_value(), name, "not a GIF file");
    if (!header) return;
    Check(header->width == width && header->height == height, name, "logical screen size differs");
    Check(header->colourTableSize == 768, name, "no global palette of 256 colours");
    static const char kLoop[] = "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
    bool loop = header->firstBlock + 19 <= bytes.size() &&
                std::memcmp(&bytes[header->firstBlock], kLoop, 16) == 0 && bytes[header->firstBlock + 16] == 0 &&
                bytes[header->firstBlock + 17] == 0 && bytes[header->firstBlock + 18] == 0;
    Check(loop, name, "no endless NETSCAPE2.0 loop right after the palette");

    std::size_t count = mv::CountGifGraphicBlocks(data, *header);
    Check(count >= 12 && count <= 24, name, "not 12 to 24 frames");

    mv::GifBlockParser parser(data, *header);
    std::size_t frames = 0;
    bool timed = true, disposed = true, full = true, decoded = true;
    std::uint32_t loopMs = 0;
    while (auto frame = parser.extractFrame()) {
        ++frames;
        timed = timed && frame->delay && *frame->delay >= 5;
        disposed = disposed && (frame->disposal == 1 || frame->disposal == 2);
        full = full && frame->left == 0 && frame->top == 0 && frame->width == width && frame->height == height;
        loopMs += mv::FrameDisplayMs(frame->delay);
        SIZE size = DecodeGif(mv::BuildStandaloneFrame(data, *header, *frame));
        decoded = decoded && size.cx == width && size.cy == height;
    }
    Check(frames == count, name, "frames extracted differ from the graphic blocks counted");
    Check(parser.offset() + 1 == bytes.size() && bytes.back() == 0x3B, name, "does not end with the trailer after the last frame");
    Check(timed, name, "a frame has no control extension or a delay under 5 hundredths");
    Check(disposed, name, "a frame's disposal is neither 1 nor 2");
    Check(full, name, "a frame does not cover the whole picture");
    Check(decoded, name, "a frame does not decode with OleLoadPicture at the full size");
    Check(loopMs >= 1000 && loopMs <= 4000, name, "one loop does not last 1 to 4 seconds");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::printf("usage: skin_check SKINS_DIR LIST_FILE\n");
        return 2;
    }
    std::wstring dir = argv[1];
    if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
    FILE* list = _wfopen(argv[2], L"r");
    if (!list) {
        std::printf("cannot read %ls\n", argv[2]);
        return 2;
    }

    CoInitialize(nullptr);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);

    char line[512];
    while (std::fgets(line, sizeof line, list)) {
        char file[400];
        int width = 0, height = 0;
        if (std::sscanf(line, "%399s %d %d", file, &width, &height) != 3) continue;
        std::wstring name(file, file + std::strlen(file));
        std::wstring path = dir + name;
        bool exists = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        Check(exists, name, "missing");
        if (!exists) continue;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, L".gif") == 0)
            CheckGif(path, name, width, height);
        else
            CheckPng(path, name, width, height);
    }
    std::fclose(list);

    Gdiplus::GdiplusShutdown(token);
    CoUninitialize();
    std::printf("skin checks: %d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
