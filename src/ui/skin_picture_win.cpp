#include "ui/skin_picture_win.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

#include "ui/display_scale.h"

namespace mv {

namespace gp = Gdiplus::DllExports;

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

GdiplusSession::~GdiplusSession() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
}

SkinPicture& SkinPicture::operator=(SkinPicture&& other) noexcept {
    if (this != &other) {
        Reset();
        bitmap_ = other.bitmap_;
        opaque_ = other.opaque_;
        opaqueTried_ = other.opaqueTried_;
        later_ = std::move(other.later_);
        other.bitmap_ = nullptr;
        other.opaque_ = nullptr;
        other.opaqueTried_ = false;
        other.later_ = Later{};
    }
    return *this;
}

bool SkinPicture::Load(const std::wstring& path) {
    Reset();
    // GDI+ starts with the first picture (every bitmap of the program comes from one) and runs
    // until the program ends.
    static const GdiplusSession session;
    if (!session.ok()) return false;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromFile(path.c_str(), &bitmap) != Gdiplus::Ok) {
        if (bitmap) gp::GdipDisposeImage(bitmap);
        return false;
    }
    bitmap_ = bitmap;
    return bitmap_ != nullptr;
}

void SkinPicture::Adopt(Gdiplus::GpBitmap* bitmap) {
    Reset();
    bitmap_ = bitmap;
}

void SkinPicture::Reset() {
    if (bitmap_) gp::GdipDisposeImage(bitmap_);
    bitmap_ = nullptr;
    if (opaque_) DeleteObject(opaque_);
    opaque_ = nullptr;
    opaqueTried_ = false;
    later_ = Later{};
}

void SkinPicture::LoadSkinLater(const std::wstring& directory, const std::wstring& fileName, int dpi) {
    Reset();
    later_ = Later{directory, fileName, dpi};
}

void SkinPicture::ReadIfWaiting() const {
    if (later_.fileName.empty()) return;
    const Later later = std::exchange(later_, Later{});
    // Reading fills the picture: the waiting file is part of its value, not of its identity.
    LoadSkin(const_cast<SkinPicture&>(*this), later.directory, later.fileName, later.dpi);
}

void SkinPicture::Draw(HDC dc, int width, int height) const {
    ReadIfWaiting();
    if (!bitmap_) return;
    if (!opaqueTried_) {
        opaque_ = OpaqueCopy(bitmap_);
        opaqueTried_ = true;
    }
    DrawPicture(dc, bitmap_, opaque_, width, height);
}

UINT SkinPicture::width() const {
    ReadIfWaiting();
    UINT w = 0;
    if (bitmap_ && gp::GdipGetImageWidth(bitmap_, &w) != Gdiplus::Ok) w = 0;
    return w;
}

UINT SkinPicture::height() const {
    ReadIfWaiting();
    UINT h = 0;
    if (bitmap_ && gp::GdipGetImageHeight(bitmap_, &h) != Gdiplus::Ok) h = 0;
    return h;
}

Gdiplus::GpBitmap* SkinPicture::CloneArea(int x, int y, int width, int height) const {
    ReadIfWaiting();
    if (!bitmap_) return nullptr;
    Gdiplus::GpBitmap* clone = nullptr;
    if (gp::GdipCloneBitmapAreaI(x, y, width, height, PixelFormatDontCare, bitmap_, &clone) != Gdiplus::Ok) {
        if (clone) gp::GdipDisposeImage(clone);
        return nullptr;
    }
    return clone;
}

HBITMAP OpaqueCopy(Gdiplus::GpBitmap* picture) {
    if (!picture) return nullptr;
    UINT width = 0, height = 0;
    Gdiplus::PixelFormat format = 0;
    if (gp::GdipGetImageWidth(picture, &width) != Gdiplus::Ok || gp::GdipGetImageHeight(picture, &height) != Gdiplus::Ok ||
        gp::GdipGetImagePixelFormat(picture, &format) != Gdiplus::Ok || width == 0 || height == 0)
        return nullptr;
    // A format with alpha counts as opaque only when every pixel is.
    if (format & PixelFormatAlpha) {
        Gdiplus::Rect all{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
        Gdiplus::BitmapData data{};
        if (gp::GdipBitmapLockBits(picture, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
            return nullptr;
        bool opaque = true;
        for (UINT y = 0; y < height && opaque; ++y) {
            const auto* row = static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
            for (UINT x = 0; x < width; ++x)
                if (row[4 * x + 3] != 0xFF) {
                    opaque = false;
                    break;
                }
        }
        gp::GdipBitmapUnlockBits(picture, &data);
        if (!opaque) return nullptr;
    }
    HBITMAP copy = nullptr;
    if (gp::GdipCreateHBITMAPFromBitmap(picture, &copy, 0xFF000000) != Gdiplus::Ok) return nullptr;
    return copy;
}

void DrawPicture(HDC dc, Gdiplus::GpBitmap* picture, HBITMAP copy, int width, int height) {
    if (!dc || !picture) return;
    BITMAP b{};
    if (copy && GetObjectW(copy, sizeof b, &b) == sizeof b && b.bmWidth == width && std::abs(b.bmHeight) == height) {
        HDC memory = CreateCompatibleDC(dc);
        if (memory) {
            const HGDIOBJ old = SelectObject(memory, copy);
            BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
            return;
        }
    }
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gp::GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok || !graphics) return;
    gp::GdipDrawImageRectI(graphics, picture, 0, 0, width, height);
    gp::GdipDeleteGraphics(graphics);
}

Gdiplus::GpBitmap* ScaledCopy(Gdiplus::GpBitmap* picture, int width, int height) {
    if (!picture || width <= 0 || height <= 0) return nullptr;
    Gdiplus::GpBitmap* copy = nullptr;
    if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &copy) != Gdiplus::Ok)
        return nullptr;
    Gdiplus::GpGraphics* graphics = nullptr;
    bool drawn = gp::GdipGetImageGraphicsContext(copy, &graphics) == Gdiplus::Ok;
    if (drawn) drawn = gp::GdipDrawImageRectI(graphics, picture, 0, 0, width, height) == Gdiplus::Ok;
    if (graphics) gp::GdipDeleteGraphics(graphics);
    if (!drawn) {
        gp::GdipDisposeImage(copy);
        return nullptr;
    }
    return copy;
}

Gdiplus::GpBitmap* ResampledCopy(Gdiplus::GpBitmap* picture, int width, int height) {
    if (!picture || width <= 0 || height <= 0) return nullptr;
    UINT fromWidth = 0, fromHeight = 0;
    if (gp::GdipGetImageWidth(picture, &fromWidth) != Gdiplus::Ok ||
        gp::GdipGetImageHeight(picture, &fromHeight) != Gdiplus::Ok || fromWidth == 0 || fromHeight == 0)
        return nullptr;
    Gdiplus::GpBitmap* copy = nullptr;
    if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &copy) != Gdiplus::Ok)
        return nullptr;
    Gdiplus::GpImageAttributes* attributes = nullptr;
    Gdiplus::GpGraphics* graphics = nullptr;
    // Continued outwards by mirroring, so that the filter finds no transparent border to blend in.
    bool drawn = gp::GdipCreateImageAttributes(&attributes) == Gdiplus::Ok &&
                 gp::GdipSetImageAttributesWrapMode(attributes, Gdiplus::WrapModeTileFlipXY, 0, FALSE) == Gdiplus::Ok &&
                 gp::GdipGetImageGraphicsContext(copy, &graphics) == Gdiplus::Ok;
    if (drawn) {
        gp::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
        gp::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
        drawn = gp::GdipDrawImageRectRectI(graphics, picture, 0, 0, width, height, 0, 0, static_cast<INT>(fromWidth),
                                           static_cast<INT>(fromHeight), Gdiplus::UnitPixel, attributes, nullptr,
                                           nullptr) == Gdiplus::Ok;
    }
    if (graphics) gp::GdipDeleteGraphics(graphics);
    if (attributes) gp::GdipDisposeImageAttributes(attributes);
    if (!drawn) {
        gp::GdipDisposeImage(copy);
        return nullptr;
    }
    return copy;
}

Gdiplus::GpBitmap* FadedCopy(Gdiplus::GpBitmap* picture) {
    if (!picture) return nullptr;
    UINT width = 0, height = 0;
    if (gp::GdipGetImageWidth(picture, &width) != Gdiplus::Ok || gp::GdipGetImageHeight(picture, &height) != Gdiplus::Ok ||
        width == 0 || height == 0)
        return nullptr;
    Gdiplus::GpBitmap* copy = nullptr;
    if (gp::GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0, PixelFormat32bppARGB,
                                      nullptr, &copy) != Gdiplus::Ok)
        return nullptr;
    // Each colour channel becomes (luminance + 1) / 2; alpha stays.
    Gdiplus::ColorMatrix matrix{};
    const Gdiplus::REAL luminance[3] = {0.299f / 2, 0.587f / 2, 0.114f / 2};
    for (int out = 0; out < 3; ++out) {
        for (int in = 0; in < 3; ++in) matrix.m[in][out] = luminance[in];
        matrix.m[4][out] = 0.5f;
    }
    matrix.m[3][3] = 1.0f;
    Gdiplus::GpImageAttributes* attributes = nullptr;
    Gdiplus::GpGraphics* graphics = nullptr;
    bool drawn = gp::GdipCreateImageAttributes(&attributes) == Gdiplus::Ok &&
                 gp::GdipSetImageAttributesColorMatrix(attributes, Gdiplus::ColorAdjustTypeDefault, TRUE, &matrix,
                                                       nullptr, Gdiplus::ColorMatrixFlagsDefault) == Gdiplus::Ok &&
                 gp::GdipGetImageGraphicsContext(copy, &graphics) == Gdiplus::Ok;
    if (drawn)
        drawn = gp::GdipDrawImageRectRectI(graphics, picture, 0, 0, static_cast<INT>(width), static_cast<INT>(height), 0,
                                           0, static_cast<INT>(width), static_cast<INT>(height), Gdiplus::UnitPixel,
                                           attributes, nullptr, nullptr) == Gdiplus::Ok;
    if (graphics) gp::GdipDeleteGraphics(graphics);
    if (attributes) gp::GdipDisposeImageAttributes(attributes);
    if (!drawn) {
        gp::GdipDisposeImage(copy);
        return nullptr;
    }
    return copy;
}

std::wstring ExecutableDirectory() {
    wchar_t module[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    wchar_t drive[MAX_PATH] = {}, dir[MAX_PATH] = {}, name[MAX_PATH] = {}, ext[MAX_PATH] = {};
    if (_wsplitpath_s(module, drive, MAX_PATH, dir, MAX_PATH, name, MAX_PATH, ext, MAX_PATH) != 0) return {};
    return std::wstring(drive) + dir;
}

std::wstring SkinPath(const std::wstring& directory, const std::wstring& fileName) {
    return directory + L"skins\\" + fileName;
}

std::wstring MenuSkinPath(const std::wstring& directory, const std::wstring& fileName) {
    return directory + L"skins\\menu\\" + fileName;
}

std::wstring SkinPath(const std::wstring& directory, const std::wstring& fileName, int percent) {
    const std::u16string folder = SkinScaleFolder(percent);
    return directory + L"skins\\" + std::wstring(folder.begin(), folder.end()) + fileName;
}

std::wstring FindSkin(const std::wstring& directory, const std::wstring& fileName, int dpi, int& percent) {
    for (const std::int32_t set : SkinScalesToTry(dpi)) {
        std::wstring path = SkinPath(directory, fileName, set);
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        percent = set;
        return path;
    }
    percent = 100;
    return {};
}

bool LoadSkin(SkinPicture& picture, const std::wstring& directory, const std::wstring& fileName, int dpi) {
    picture.Reset();
    // A file that is there but unreadable leaves the next set to try.
    for (const std::int32_t set : SkinScalesToTry(dpi)) {
        if (!picture.Load(SkinPath(directory, fileName, set))) continue;
        const PixelSize drawn{static_cast<std::int32_t>(picture.width()), static_cast<std::int32_t>(picture.height())};
        const PixelSize wanted = SizeAtDpi(drawn, set, dpi);
        if (wanted == drawn) return true;
        picture.Adopt(ResampledCopy(picture.bitmap(), wanted.width, wanted.height));
        return !picture.empty();
    }
    return false;
}

}  // namespace mv
