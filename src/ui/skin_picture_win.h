// Skin pictures: where the skin files lie and how they are loaded (GDI+ bitmaps).
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

namespace mv {

// Starts GDI+ for the life of the object (the program keeps one for its whole run).
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool ok() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

// A skin picture. One whose file is missing or unreadable is still an object but
// holds no bitmap: its size reads 0 x 0, areas cut from it are absent, drawing it
// draws nothing.
class SkinPicture {
public:
    SkinPicture() = default;
    explicit SkinPicture(const std::wstring& path) { Load(path); }
    ~SkinPicture() { Reset(); }
    SkinPicture(SkinPicture&& other) noexcept : bitmap_(other.bitmap_) { other.bitmap_ = nullptr; }
    SkinPicture& operator=(SkinPicture&& other) noexcept;
    SkinPicture(const SkinPicture&) = delete;
    SkinPicture& operator=(const SkinPicture&) = delete;

    // Replaces the picture with the file's (GdipCreateBitmapFromFile); false, and empty, on failure.
    bool Load(const std::wstring& path);
    // Takes ownership of a GDI+ bitmap (may be null).
    void Adopt(Gdiplus::GpBitmap* bitmap);
    void Reset();

    Gdiplus::GpBitmap* bitmap() const { return bitmap_; }
    bool empty() const { return bitmap_ == nullptr; }
    UINT width() const;
    UINT height() const;
    // An independent copy of an area (GdipCloneBitmapAreaI, PixelFormatDontCare); null when
    // the picture is empty or the clone fails. The caller owns the result.
    Gdiplus::GpBitmap* CloneArea(int x, int y, int width, int height) const;

private:
    Gdiplus::GpBitmap* bitmap_ = nullptr;
};

// A copy of a picture drawn at width x height (as painting it scaled would); null for a null
// picture or when the copy fails. The caller owns it.
Gdiplus::GpBitmap* ScaledCopy(Gdiplus::GpBitmap* picture, int width, int height);

// A faded, grey copy of a picture (half way to white): how a disabled control looks
// whatever its skin. Null for a null picture or when the copy fails; the caller owns it.
Gdiplus::GpBitmap* FadedCopy(Gdiplus::GpBitmap* picture);

// The drive and directory of the program's module, with a trailing backslash.
std::wstring ExecutableDirectory();
// "%sskins\%s": a file of the skin folder.
std::wstring SkinPath(const std::wstring& directory, const std::wstring& fileName);
// "%sskins\menu\%s": a file of the menu skins.
std::wstring MenuSkinPath(const std::wstring& directory, const std::wstring& fileName);

}  // namespace mv
