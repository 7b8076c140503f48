// CPictureEx under Wine: frames composed with their disposal methods and read back
// from the window, timing, still pictures, bad files, and many start/stop cycles.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gif_writer.h"
#include "ui/picture_ex_win.h"

namespace mv {
namespace {

using test::GifWriter;

COLORREF Colour(std::uint8_t index) {
    const test::Rgb c = test::kPalette[index];
    return RGB(c.r, c.g, c.b);
}

std::wstring TempFile(const wchar_t* name, const std::vector<std::uint8_t>& bytes) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + name;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (f != INVALID_HANDLE_VALUE) {
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(f);
    }
    return path;
}

HGLOBAL Block(const std::vector<std::uint8_t>& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
    if (void* p = GlobalLock(block)) {
        if (!bytes.empty()) memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(block);
    }
    return block;
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(2);
    } while (GetTickCount() - start < ms);
}

// Wine reports no handle counts (GetProcessHandleCount, GetGuiResources), so count
// the valid kernel handles directly.
int KernelHandleCount() {
    int count = 0;
    DWORD flags = 0;
    for (std::uintptr_t h = 4; h < 0x10000; h += 4)
        if (GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) ++count;
    return count;
}

// The highest GDI handle index that a batch of new objects needs: every object still
// alive occupies an entry of the handle table, so leaked objects push it up.
int GdiHighWater() {
    std::vector<HBRUSH> brushes;
    int highest = 0;
    for (int i = 0; i < 3000; ++i) {
        HBRUSH b = CreateSolidBrush(RGB(i & 255, 0, 0));
        if (!b) break;
        highest = std::max(highest, static_cast<int>(reinterpret_cast<std::uintptr_t>(b) & 0xFFFF));
        brushes.push_back(b);
    }
    for (HBRUSH b : brushes) DeleteObject(b);
    return highest;
}

// A visible top-level window holding the picture control at (10, 10).
struct Host {
    fw::CWnd window;
    CPictureEx picture;
    Host() {
        window.CreateEx(WS_EX_TOOLWINDOW, nullptr, L"picture host", WS_POPUP | WS_VISIBLE, RECT{100, 100, 400, 400},
                        nullptr, 0);
        picture.Create(L"", WS_CHILD | WS_VISIBLE, RECT{10, 10, 235, 272}, window, 0x601);
        Pump(50);
    }
    // Paints now and reads the pixel back from the control's window.
    COLORREF pixel(int x, int y) {
        UpdateWindow(picture);
        HDC dc = GetDC(picture);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(picture, dc);
        return c;
    }
    SIZE clientSize() {
        RECT rc{};
        GetClientRect(picture, &rc);
        return SIZE{rc.right, rc.bottom};
    }
};

// Holds the animation thread after each published frame until the test lets it go on.
struct FrameGate {
    HANDLE shown = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE proceed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::atomic<bool> holding{true};
    std::atomic<std::size_t> last{999};
    ~FrameGate() {
        CloseHandle(shown);
        CloseHandle(proceed);
    }
    CPictureEx::FrameHook hook() {
        return [this](std::size_t index) {
            if (!holding) return;
            last = index;
            SetEvent(shown);
            WaitForSingleObject(proceed, 5000);
        };
    }
    // Waits for the next frame; its index, or 999 when none came.
    std::size_t next() {
        SetEvent(proceed);
        return WaitForSingleObject(shown, 5000) == WAIT_OBJECT_0 ? last.load() : 999;
    }
    std::size_t first() { return WaitForSingleObject(shown, 5000) == WAIT_OBJECT_0 ? last.load() : 999; }
    void release() {
        holding = false;
        SetEvent(proceed);
    }
};

TEST(PictureEx, FramesAreComposedWithTheirDisposalAndReadBackFromTheWindow) {
    Host host;
    FrameGate gate;
    host.picture.setFrameHook(gate.hook());
    const std::wstring path = TempFile(L"mv_disposal.gif", test::DisposalGif());
    ASSERT_TRUE(host.picture.loadPictureFile(path.c_str()));
    EXPECT_TRUE(host.picture.isGif());
    EXPECT_EQ(host.picture.frameCount(), 4u);
    EXPECT_EQ(host.clientSize().cx, 40);  // the control takes the logical screen's size
    EXPECT_EQ(host.clientSize().cy, 30);
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(host.picture.backgroundColour(), background);

    host.picture.showPicture();
    EXPECT_TRUE(host.picture.isPlaying());
    ASSERT_EQ(gate.first(), 0u);
    EXPECT_EQ(host.pixel(2, 2), Colour(test::kRed));
    EXPECT_EQ(host.pixel(39, 29), Colour(test::kRed));

    ASSERT_EQ(gate.next(), 1u);
    EXPECT_EQ(host.pixel(15, 15), Colour(test::kGreen));
    EXPECT_EQ(host.pixel(9, 9), Colour(test::kRed));

    ASSERT_EQ(gate.next(), 2u);
    EXPECT_EQ(host.pixel(15, 15), background) << "disposal 2 restores the background";
    EXPECT_EQ(host.pixel(25, 10), Colour(test::kBlue));

    // The frame without a control extension is reached and shows for a short time.
    ASSERT_EQ(gate.next(), 3u);
    EXPECT_EQ(host.pixel(25, 10), Colour(test::kRed)) << "disposal 3 restores what was under the frame";
    EXPECT_EQ(host.pixel(2, 2), Colour(test::kBlack));
    EXPECT_EQ(host.pixel(15, 15), background);

    // After the last frame the surface is cleared and the first frame drawn again.
    ASSERT_EQ(gate.next(), 0u);
    EXPECT_EQ(host.pixel(15, 15), Colour(test::kRed));
    EXPECT_EQ(host.pixel(2, 2), Colour(test::kRed));

    gate.release();
    host.picture.stopAnimation();
    EXPECT_FALSE(host.picture.isPlaying());
    EXPECT_EQ(host.pixel(15, 15), Colour(test::kRed)) << "a stopped animation keeps its picture";
}

TEST(PictureEx, FramesAdvanceByTheirDisplayTimes) {
    Host host;
    using Clock = std::chrono::steady_clock;
    std::mutex m;
    std::vector<std::pair<std::size_t, Clock::time_point>> seen;
    host.picture.setFrameHook([&](std::size_t index) {
        std::lock_guard<std::mutex> lock(m);
        seen.emplace_back(index, Clock::now());
    });
    GifWriter g(20, 20);
    g.control(4, 0).image(0, 0, 20, 20, test::kRed);   // 100 ms
    g.control(5, 0).image(0, 0, 20, 20, test::kBlue);  // 50 ms
    g.image(0, 0, 20, 20, test::kGreen);               // no control extension: 100 ms
    g.trailer();
    HGLOBAL block = Block(g.bytes);
    ASSERT_TRUE(host.picture.loadPictureData(block, static_cast<DWORD>(g.bytes.size())));
    GlobalFree(block);
    host.picture.showPicture();
    Pump(1600);
    host.picture.stopAnimation();

    std::lock_guard<std::mutex> lock(m);
    ASSERT_GE(seen.size(), 9u) << "frames advance, including the one without a control extension";
    double sum[3] = {0, 0, 0};
    int count[3] = {0, 0, 0};
    for (std::size_t i = 0; i + 1 < seen.size(); ++i) {
        EXPECT_EQ(seen[i + 1].first, (seen[i].first + 1) % 3);
        const double ms = std::chrono::duration<double, std::milli>(seen[i + 1].second - seen[i].second).count();
        const std::size_t f = seen[i].first;
        EXPECT_GE(ms, f == 1 ? 45.0 : 95.0) << "frame " << f;
        sum[f] += ms;
        ++count[f];
    }
    // Delay 4 is lifted to 100 ms, so it shows longer than delay 5.
    EXPECT_GT(sum[0] / count[0], sum[1] / count[1] + 20);
}

TEST(PictureEx, SingleImagesAndOtherFormatsShowStillWithoutAThread) {
    Host host;
    GifWriter one(30, 20);
    one.control(10, 0).image(0, 0, 30, 20, test::kBlue).trailer();
    const std::wstring gif = TempFile(L"mv_one.gif", one.bytes);
    ASSERT_TRUE(host.picture.loadPictureFile(gif.c_str()));
    EXPECT_EQ(host.picture.frameCount(), 0u);
    host.picture.showPicture();
    EXPECT_FALSE(host.picture.isPlaying());
    EXPECT_EQ(host.clientSize().cx, 30);
    EXPECT_EQ(host.clientSize().cy, 20);
    EXPECT_EQ(host.pixel(15, 10), Colour(test::kBlue));

    const std::wstring bmp = TempFile(L"mv_still.bmp", test::SolidBmp(50, 24, test::kPalette[test::kYellow]));
    ASSERT_TRUE(host.picture.loadPictureFile(bmp.c_str()));
    EXPECT_FALSE(host.picture.isGif());
    host.picture.showPicture();
    EXPECT_FALSE(host.picture.isPlaying());
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_NEAR(host.clientSize().cx, MulDiv(50, dpi, 96), 1);
    EXPECT_NEAR(host.clientSize().cy, MulDiv(24, dpi, 96), 1);
    EXPECT_EQ(host.pixel(25, 12), Colour(test::kYellow));
}

TEST(PictureEx, MissingTruncatedAndGarbageFilesLeaveTheControlBlank) {
    Host host;
    EXPECT_FALSE(host.picture.loadPictureFile(L"C:\\no\\such\\file.gif"));
    EXPECT_FALSE(host.picture.surfaceReady());
    EXPECT_FALSE(host.picture.loadPictureFile(TempFile(L"mv_empty.gif", {}).c_str()));

    std::vector<std::uint8_t> garbage(3000);
    std::uint32_t seed = 12345;
    for (auto& b : garbage) b = static_cast<std::uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
    EXPECT_FALSE(host.picture.loadPictureFile(TempFile(L"mv_garbage.bin", garbage).c_str()));
    // Garbage behind a GIF signature, and a header that announces a table it lacks: no
    // picture, nothing drawn, no thread.
    std::vector<std::uint8_t> gifGarbage = garbage;
    memcpy(gifGarbage.data(), "GIF89a", 6);
    HGLOBAL block = Block(gifGarbage);
    EXPECT_FALSE(host.picture.loadPictureData(block, static_cast<DWORD>(gifGarbage.size())));
    EXPECT_FALSE(host.picture.surfaceReady());
    EXPECT_EQ(host.picture.frameCount(), 0u);
    host.picture.showPicture();
    EXPECT_FALSE(host.picture.isPlaying());
    host.picture.clearPicture();
    gifGarbage[10] = 0x87;  // a global colour table of 768 bytes, then the trailer only
    gifGarbage[13 + 768] = 0x3B;
    GlobalFree(block);
    block = Block(gifGarbage);
    EXPECT_FALSE(host.picture.loadPictureData(block, static_cast<DWORD>(gifGarbage.size())));
    EXPECT_FALSE(host.picture.surfaceReady());
    // A length beyond the block counts as the block's own: the same frames as with the
    // right length (the two complete frames before the third one), nothing read beyond.
    const std::vector<std::uint8_t> full = test::DisposalGif(2);
    std::vector<std::size_t> controls;  // where each graphic control extension starts
    for (std::size_t i = 0; i + 1 < full.size(); ++i)
        if (full[i] == 0x21 && full[i + 1] == 0xF9) controls.push_back(i);
    ASSERT_EQ(controls.size(), 3u);
    const std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(controls[2]));
    // The whole animation, then the block shrunk to the cut: the last two frames most likely
    // still lie in memory right behind it, where a read past the block would find them.
    HGLOBAL small = Block(full);
    small = GlobalReAlloc(small, cut.size(), GMEM_MOVEABLE);
    ASSERT_NE(small, nullptr);
    ASSERT_GE(GlobalSize(small), cut.size());
    ASSERT_LT(GlobalSize(small), full.size());
    ASSERT_TRUE(host.picture.loadPictureData(small, static_cast<DWORD>(cut.size())));
    const std::size_t framesOfTheCut = host.picture.frameCount();
    EXPECT_EQ(framesOfTheCut, 2u);
    host.picture.clearPicture();
    EXPECT_TRUE(host.picture.loadPictureData(small, 1u << 20));
    EXPECT_EQ(host.picture.frameCount(), framesOfTheCut);
    EXPECT_EQ(host.picture.pictureSize().cx, 40);
    host.picture.clearPicture();
    GlobalFree(small);
    GlobalFree(block);

    // Every truncation of a four-frame GIF: at most the complete frames play.
    int loaded = 0;
    for (std::size_t n = 0; n <= full.size(); n += 7) {
        std::vector<std::uint8_t> part(full.begin(), full.begin() + n);
        HGLOBAL b = Block(part);
        if (host.picture.loadPictureData(b, static_cast<DWORD>(part.size()))) {
            ++loaded;
            EXPECT_LE(host.picture.frameCount(), 4u);
            host.picture.showPicture();
            Pump(5);
        } else {
            EXPECT_FALSE(host.picture.surfaceReady()) << n;
        }
        GlobalFree(b);
    }
    host.picture.clearPicture();
    EXPECT_GT(loaded, 0);
    EXPECT_FALSE(host.picture.isPlaying());
}

TEST(PictureEx, TwoHundredLoadPlayStopCyclesLeakNoHandles) {
    Host host;
    const std::wstring a = TempFile(L"mv_cycle_a.gif", test::DisposalGif(2));
    GifWriter other(25, 25);
    other.control(0, 2).image(0, 0, 25, 25, test::kGreen).control(0, 3).image(5, 5, 5, 5, test::kBlue).trailer();
    const std::wstring b = TempFile(L"mv_cycle_b.gif", other.bytes);

    auto cycle = [&](int i) {
        ASSERT_TRUE(host.picture.loadPictureFile((i % 2 ? b : a).c_str()));
        host.picture.showPicture();
        host.picture.showPicture();  // a second start while playing starts nothing
        Pump(i % 3);
        host.picture.stopAnimation();
        host.picture.showPicture();  // continues from the interrupted frame
        if (i % 4 == 0) host.picture.clearPicture();
    };
    for (int i = 0; i < 10; ++i) cycle(i);  // warm up caches of the decoder
    host.picture.clearPicture();
    Pump(50);
    const int handlesBefore = KernelHandleCount();
    const int gdiBefore = GdiHighWater();
    const long statesBefore = CPictureEx::LiveStates();

    for (int i = 0; i < 200; ++i) cycle(i);
    host.picture.clearPicture();
    Pump(50);

    const int handlesAfter = KernelHandleCount();
    const int gdiAfter = GdiHighWater();
    EXPECT_GT(handlesBefore, 0);
    EXPECT_LE(handlesAfter, handlesBefore + 4);
    EXPECT_LE(gdiAfter, gdiBefore + 8);
    EXPECT_EQ(CPictureEx::LiveStates(), statesBefore);
    RecordProperty("kernel_handles_before", handlesBefore);
    RecordProperty("kernel_handles_after", handlesAfter);
    RecordProperty("gdi_high_water_before", gdiBefore);
    RecordProperty("gdi_high_water_after", gdiAfter);
}

TEST(PictureEx, AThreadThatMissesItsStopIsLeftToFinishAlone) {
    Host host;
    const long statesBefore = CPictureEx::LiveStates();
    HANDLE entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> calls{0};
    host.picture.setFrameHook([&](std::size_t) {
        if (calls++ == 0) {
            SetEvent(entered);
            Sleep(700);  // a drawing step that outlasts the stop timeout
        }
    });
    host.picture.setStopTimeout(50);
    const std::wstring path = TempFile(L"mv_slow.gif", test::DisposalGif(5));
    ASSERT_TRUE(host.picture.loadPictureFile(path.c_str()));
    host.picture.showPicture();
    ASSERT_EQ(WaitForSingleObject(entered, 5000), WAIT_OBJECT_0);

    const DWORD start = GetTickCount();
    host.picture.stopAnimation();
    EXPECT_LT(GetTickCount() - start, 500u);
    EXPECT_FALSE(host.picture.isPlaying());
    EXPECT_FALSE(host.picture.surfaceReady()) << "the surface the thread still uses is not the control's any more";
    EXPECT_EQ(CPictureEx::LiveStates(), statesBefore + 1);

    // The control works again at once, beside the old thread.
    host.picture.setFrameHook({});
    host.picture.setStopTimeout(5000);
    ASSERT_TRUE(host.picture.loadPictureFile(path.c_str()));
    host.picture.showPicture();
    Pump(100);
    host.picture.stopAnimation();
    EXPECT_TRUE(host.picture.surfaceReady());

    // The old thread ends on its own and frees what it held.
    for (int i = 0; i < 100 && CPictureEx::LiveStates() != statesBefore; ++i) Pump(20);
    EXPECT_EQ(CPictureEx::LiveStates(), statesBefore);
    EXPECT_GE(calls.load(), 1);
    CloseHandle(entered);
}

TEST(PictureEx, LoadingAnotherPictureOrDestroyingTheWindowStopsTheThread) {
    Host host;
    const std::wstring path = TempFile(L"mv_replace.gif", test::DisposalGif(3));
    ASSERT_TRUE(host.picture.loadPictureFile(path.c_str()));
    host.picture.showPicture();
    Pump(40);
    ASSERT_TRUE(host.picture.isPlaying());
    ASSERT_TRUE(host.picture.loadPictureFile(path.c_str()));
    EXPECT_FALSE(host.picture.isPlaying());
    host.picture.showPicture();
    Pump(40);
    ASSERT_TRUE(host.picture.isPlaying());
    host.window.DestroyWindow();
    EXPECT_FALSE(host.picture.isPlaying());
}

}  // namespace
}  // namespace mv
