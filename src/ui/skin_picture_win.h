// Skin pictures: where the skin files lie and how they are loaded (GDI+ bitmaps).
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <utility>

namespace mv {

// Starts GDI+ for the life of the object (the program starts one with its first picture).
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
// draws nothing. One given LoadSkinLater reads its file at its first use.
class SkinPicture {
public:
    SkinPicture() = default;
    explicit SkinPicture(const std::wstring& path) { Load(path); }
    ~SkinPicture() { Reset(); }
    SkinPicture(SkinPicture&& other) noexcept { *this = std::move(other); }
    SkinPicture& operator=(SkinPicture&& other) noexcept;
    SkinPicture(const SkinPicture&) = delete;
    SkinPicture& operator=(const SkinPicture&) = delete;

    // Replaces the picture with the file's (GdipCreateBitmapFromFile); false, and empty, on failure.
    bool Load(const std::wstring& path);
    // Takes ownership of a GDI+ bitmap (may be null).
    void Adopt(Gdiplus::GpBitmap* bitmap);
    void Reset();
    // Empties the picture and has LoadSkin(*this, directory, fileName, dpi) read it when it
    // is first used.
    void LoadSkinLater(const std::wstring& directory, const std::wstring& fileName, int dpi);
    // Whether a later read is still waiting.
    bool waiting() const { return !later_.fileName.empty(); }

    Gdiplus::GpBitmap* bitmap() const {
        ReadIfWaiting();
        return bitmap_;
    }
    bool empty() const { return bitmap() == nullptr; }
    UINT width() const;
    UINT height() const;
    // An independent copy of an area (GdipCloneBitmapAreaI, PixelFormatDontCare); null when
    // the picture is empty or the clone fails. The caller owns the result.
    Gdiplus::GpBitmap* CloneArea(int x, int y, int width, int height) const;
    // Draws the whole picture at (0, 0) with width x height (DrawPicture, the GDI copy made
    // on the first drawing).
    void Draw(HDC dc, int width, int height) const;

private:
    struct Later {
        std::wstring directory, fileName;
        int dpi = 96;
    };
    void ReadIfWaiting() const;

    mutable Gdiplus::GpBitmap* bitmap_ = nullptr;
    mutable HBITMAP opaque_ = nullptr;
    mutable bool opaqueTried_ = false;
    mutable Later later_;
};

// A copy of a picture drawn at width x height (as painting it scaled would); null for a null
// picture or when the copy fails. The caller owns it.
Gdiplus::GpBitmap* ScaledCopy(Gdiplus::GpBitmap* picture, int width, int height);

// A GDI copy of a picture without transparent pixels, to be drawn at its own size with BitBlt,
// which costs a fraction of GDI+'s drawing (so a large picture at a high display scale still
// paints at once); null for a picture with transparent pixels (GDI+ blends those), a null
// picture, or when the copy fails. The caller owns it.
HBITMAP OpaqueCopy(Gdiplus::GpBitmap* picture);
// Draws `picture` at (0, 0) of `dc` with width x height: with BitBlt from `copy` (an
// OpaqueCopy of it) when that has the size, else with GDI+ scaled over the area.
void DrawPicture(HDC dc, Gdiplus::GpBitmap* picture, HBITMAP copy, int width, int height);

// A copy of a picture resampled to width x height with GDI+'s best filter (high-quality
// bicubic, edges continued outwards): a skin picture taken from the set of another display
// scale. Null for a null picture or when the copy fails. The caller owns it.
Gdiplus::GpBitmap* ResampledCopy(Gdiplus::GpBitmap* picture, int width, int height);

// A faded, grey copy of a picture (half way to white): how a disabled control looks
// whatever its skin. Null for a null picture or when the copy fails; the caller owns it.
Gdiplus::GpBitmap* FadedCopy(Gdiplus::GpBitmap* picture);

// The drive and directory of the program's module, with a trailing backslash.
std::wstring ExecutableDirectory();
// "%sskins\%s": a file of the skin folder.
std::wstring SkinPath(const std::wstring& directory, const std::wstring& fileName);
// "%sskins\menu\%s": a file of the menu skins.
std::wstring MenuSkinPath(const std::wstring& directory, const std::wstring& fileName);
// The file of the skin set for a display scale in percent: "%sskins\150\%s" (100: SkinPath).
std::wstring SkinPath(const std::wstring& directory, const std::wstring& fileName, int percent);

// Loads `fileName` (relative to the skin folder, "menu\menu_normal.png" for instance) for a
// window at `dpi`: from the set drawn for that DPI, else from the nearest larger set, else from
// the 100 % set (SkinScalesToTry). A picture from another set is resized here, once, to the
// size the set for `dpi` gives it, so that it is never scaled when drawn. False, and the
// picture empty, when no set has a readable file. At 96 DPI: the 100 % file, as it is.
bool LoadSkin(SkinPicture& picture, const std::wstring& directory, const std::wstring& fileName, int dpi);
// The path LoadSkin would read for `fileName` at `dpi`, and the set it belongs to (percent);
// an empty path when no set has the file.
std::wstring FindSkin(const std::wstring& directory, const std::wstring& fileName, int dpi, int& percent);

}  // namespace mv
