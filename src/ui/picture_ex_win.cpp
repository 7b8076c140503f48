#include "ui/picture_ex_win.h"

#include <oleacc.h>

#include "ui/accessible_win.h"

#include <process.h>

#include <atomic>
#include <cstring>
#include <span>

#include "ui/animation_loop.h"
#include "ui/gif_blocks.h"
#include "ui/system_look_win.h"
#include "win32/on_demand_dlls.h"

namespace mv {

namespace {

std::atomic<long> g_liveStates{0};

constexpr long kHimetricPerInch = 2540;
constexpr DWORD kLargestFile = 64u << 20;

// A memory device context with a bitmap of its own selected into it.
struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    int width = 0, height = 0;

    bool create(HDC compatible, int w, int h) {
        release();
        dc = CreateCompatibleDC(compatible);
        if (!dc) return false;
        bitmap = CreateCompatibleBitmap(compatible, w, h);
        if (!bitmap) {
            release();
            return false;
        }
        previous = SelectObject(dc, bitmap);
        width = w;
        height = h;
        return true;
    }
    void release() {
        if (dc && previous) SelectObject(dc, previous);
        if (bitmap) DeleteObject(bitmap);
        if (dc) DeleteDC(dc);
        *this = Surface{};
    }
    explicit operator bool() const { return dc != nullptr; }
};

// COM for the decoder on this thread, for the duration of a load.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(ondemand::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialised_) ondemand::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

// OleLoadPicture from a stream on `memory`; the memory goes with the stream when `freeWithStream`.
IPicture* DecodePicture(HGLOBAL memory, DWORD length, bool freeWithStream) {
    IStream* stream = nullptr;
    if (FAILED(ondemand::CreateStreamOnHGlobal(memory, freeWithStream, &stream)) || !stream) {
        if (freeWithStream) GlobalFree(memory);
        return nullptr;
    }
    IPicture* picture = nullptr;
    if (FAILED(ondemand::OleLoadPicture(stream, static_cast<LONG>(length), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&picture))))
        picture = nullptr;
    stream->Release();
    return picture;
}

// A standalone GIF of one frame, decoded.
IPicture* DecodeFrame(const std::vector<std::uint8_t>& standalone) {
    if (standalone.empty()) return nullptr;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, standalone.size());
    if (!memory) return nullptr;
    void* p = GlobalLock(memory);
    if (!p) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(p, standalone.data(), standalone.size());
    GlobalUnlock(memory);
    return DecodePicture(memory, static_cast<DWORD>(standalone.size()), true);
}

void RenderUpright(IPicture* picture, HDC dc, int x, int y, int w, int h, bool& ok) {
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    picture->get_Width(&hmWidth);
    picture->get_Height(&hmHeight);
    ok = SUCCEEDED(picture->Render(dc, x, y, w, h, 0, hmHeight, hmWidth, -hmHeight, nullptr));
}

}  // namespace

// Everything the animation thread touches. The control and a running thread share it,
// so a thread that outlives its stop never draws on freed surfaces.
struct CPictureEx::State {
    State() {
        ++g_liveStates;
        InitializeCriticalSection(&frontLock);
        stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        wakeEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        parkedEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    }
    ~State() {
        release();
        front.release();
        back.release();
        for (HANDLE h : {stopEvent, wakeEvent, parkedEvent})
            if (h) CloseHandle(h);
        DeleteCriticalSection(&frontLock);
        --g_liveStates;
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    void release() {
        if (still) still->Release();
        still = nullptr;
        for (AnimationFrame& f : frames)
            if (f.picture) f.picture->Release();
        frames.clear();
        encoded.clear();
        timings.clear();
        // The two surfaces stay for the next picture of the same size (every gesture's).
        EnterCriticalSection(&frontLock);
        ready = false;
        LeaveCriticalSection(&frontLock);
        save.release();
        gif = false;
        width = height = 0;
        frameIndex = 0;
        background = RGB(255, 255, 255);
    }

    // Publishes the back surface: painting copies the front one under the same lock. A picture
    // shown at another size is scaled here, once per frame.
    void present() {
        EnterCriticalSection(&frontLock);
        if (shownWidth == width && shownHeight == height) {
            BitBlt(front.dc, 0, 0, width, height, back.dc, 0, 0, SRCCOPY);
        } else {
            SetStretchBltMode(front.dc, HALFTONE);
            SetBrushOrgEx(front.dc, 0, 0, nullptr);
            StretchBlt(front.dc, 0, 0, shownWidth, shownHeight, back.dc, 0, 0, width, height, SRCCOPY);
        }
        LeaveCriticalSection(&frontLock);
        if (window) InvalidateRect(window, nullptr, FALSE);
    }

    CRITICAL_SECTION frontLock;
    HANDLE stopEvent = nullptr;
    // The animation thread lives as long as the control and waits, parked, between
    // animations: `wakeEvent` starts it playing, `parkedEvent` is set while it waits.
    HANDLE wakeEvent = nullptr;
    HANDLE parkedEvent = nullptr;
    std::atomic<bool> quit{false};
    std::atomic<bool> stop{false};
    HWND window = nullptr;

    int width = 0, height = 0;            // the picture's
    int shownWidth = 0, shownHeight = 0;  // the front surface's: the control's
    COLORREF background = RGB(255, 255, 255);
    bool gif = false;
    bool ready = false;  // front and back exist; read by painting under frontLock
    Surface front, back, save;
    IPicture* still = nullptr;
    // A frame is decoded on the animation thread the first time it is drawn; until then
    // `encoded` holds it as a standalone GIF (emptied once decoded or rejected).
    std::vector<AnimationFrame> frames;
    std::vector<std::vector<std::uint8_t>> encoded;
    std::vector<FrameTiming> timings;
    std::size_t frameIndex = 0;
    FrameHook hook;
};

namespace {

class GdiCanvas final : public AnimationCanvas {
public:
    explicit GdiCanvas(CPictureEx::State& s) : s_(s) {}

    void saveUnder(const FrameRect& r) override {
        if (!s_.save || s_.save.width != r.width || s_.save.height != r.height) {
            if (!s_.save.create(s_.back.dc, r.width, r.height)) return;
        }
        BitBlt(s_.save.dc, 0, 0, r.width, r.height, s_.back.dc, r.left, r.top, SRCCOPY);
    }
    void restoreSaved(const FrameRect& r) override {
        if (!s_.save) return;
        BitBlt(s_.back.dc, r.left, r.top, r.width, r.height, s_.save.dc, 0, 0, SRCCOPY);
        s_.save.release();
    }
    void fillBackground(const FrameRect& r) override { fill(RECT{r.left, r.top, r.left + r.width, r.top + r.height}); }
    void clearAll() override { fill(RECT{0, 0, s_.width, s_.height}); }
    bool drawFrame(std::size_t index, const FrameRect& r) override {
        AnimationFrame& frame = s_.frames[index];
        if (!frame.picture && !s_.encoded[index].empty()) {
            frame.picture = DecodeFrame(s_.encoded[index]);
            // Decoded or rejected, a frame is decoded once: a rejected one is never drawn.
            std::vector<std::uint8_t>().swap(s_.encoded[index]);
        }
        if (!frame.picture) return false;
        bool ok = false;
        RenderUpright(frame.picture, s_.back.dc, r.left, r.top, r.width, r.height, ok);
        drawn_ = index;
        return ok;
    }
    void present() override {
        s_.present();
        if (s_.hook) s_.hook(drawn_);
    }
    void wait(std::uint32_t ms) override { WaitForSingleObject(s_.stopEvent, ms); }
    bool stopRequested() override { return s_.stop.load(); }

private:
    void fill(const RECT& rc) {
        HBRUSH brush = CreateSolidBrush(s_.background);
        FillRect(s_.back.dc, &rc, brush);
        DeleteObject(brush);
    }
    CPictureEx::State& s_;
    std::size_t drawn_ = 0;
};

unsigned __stdcall AnimationThread(void* arg) {
    // The thread's own reference: the state lives at least as long as the thread.
    std::unique_ptr<std::shared_ptr<CPictureEx::State>> owner(static_cast<std::shared_ptr<CPictureEx::State>*>(arg));
    CPictureEx::State& s = **owner;
    // The frames are decoded here, so that loading a picture keeps the window answering.
    const bool com = SUCCEEDED(ondemand::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    for (;;) {
        WaitForSingleObject(s.wakeEvent, INFINITE);
        if (s.quit) break;
        {
            GdiCanvas canvas(s);
            PlayAnimation(s.timings, s.frameIndex, canvas);
        }
        SetEvent(s.parkedEvent);
    }
    SetEvent(s.parkedEvent);
    if (com) ondemand::CoUninitialize();
    return 0;
}

}  // namespace

CPictureEx::CPictureEx() : state_(std::make_shared<State>()) {}

CPictureEx::~CPictureEx() {
    clearPicture();
    endThread();
}

bool CPictureEx::isPlaying() const {
    return thread_ && WaitForSingleObject(state_->parkedEvent, 0) == WAIT_TIMEOUT;
}

long CPictureEx::LiveStates() { return g_liveStates.load(); }

bool CPictureEx::isGif() const { return state_->gif; }
std::size_t CPictureEx::frameCount() const { return state_->frames.size(); }
SIZE CPictureEx::pictureSize() const { return SIZE{state_->width, state_->height}; }
bool CPictureEx::surfaceReady() const { return state_->ready; }
COLORREF CPictureEx::backgroundColour() const { return state_->background; }

bool CPictureEx::loadPictureFile(const wchar_t* path) {
    clearPicture();
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 || size.QuadPart > kLargestFile) {
        CloseHandle(file);
        return false;
    }
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, length);
    void* bytes = block ? GlobalLock(block) : nullptr;
    DWORD read = 0;
    const bool ok = bytes && ReadFile(file, bytes, length, &read, nullptr) && read == length;
    if (bytes) GlobalUnlock(block);
    CloseHandle(file);
    bool loaded = false;
    if (ok) loaded = loadPictureData(block, length);
    if (block) GlobalFree(block);
    return loaded;
}

bool CPictureEx::loadFrames(const std::uint8_t* data, std::size_t length) {
    const std::span<const std::uint8_t> bytes(data, length);
    const auto header = ParseGifHeader(bytes);
    if (!header) return false;
    State& s = *state_;
    s.gif = true;
    s.width = header->width;
    s.height = header->height;
    GifBlockParser parser(bytes, *header);
    while (const auto info = parser.extractFrame()) {
        std::vector<std::uint8_t> standalone = BuildStandaloneFrame(bytes, *header, *info);
        if (standalone.empty()) continue;
        AnimationFrame frame;
        frame.width = info->width;
        frame.height = info->height;
        frame.left = info->left;
        frame.top = info->top;
        frame.delay = info->delay;
        frame.disposal = info->disposal;
        // A plain-text block gives no rectangle: it covers the whole screen.
        if (frame.width == 0 || frame.height == 0) {
            frame.left = frame.top = 0;
            frame.width = s.width;
            frame.height = s.height;
        }
        s.frames.push_back(frame);
        s.encoded.push_back(std::move(standalone));
        s.timings.push_back(
            FrameTiming{FrameRect{frame.left, frame.top, frame.width, frame.height}, frame.delay, frame.disposal});
    }
    return !s.frames.empty();
}

bool CPictureEx::loadPictureData(HGLOBAL block, DWORD length) {
    clearPicture();
    if (!block) return false;
    const SIZE_T blockSize = GlobalSize(block);
    if (length > blockSize) length = static_cast<DWORD>(blockSize);
    auto* data = static_cast<const std::uint8_t*>(GlobalLock(block));
    if (!data) return false;
    ComScope com;
    State& s = *state_;

    const bool gif = length >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
    bool ok = false;
    if (gif) {
        const std::span<const std::uint8_t> bytes(data, length);
        const auto header = ParseGifHeader(bytes);
        const std::size_t count = header ? CountGifGraphicBlocks(bytes, *header) : 0;
        if (count >= 2) {
            ok = loadFrames(data, length);
            GlobalUnlock(block);
        } else {
            GlobalUnlock(block);
            if (count == 1) {
                s.still = DecodePicture(block, length, false);
                s.gif = true;
                s.width = header->width;
                s.height = header->height;
                ok = s.still != nullptr;
            }
        }
    } else {
        GlobalUnlock(block);
        s.still = DecodePicture(block, length, false);
        if (s.still) {
            OLE_XSIZE_HIMETRIC hmWidth = 0;
            OLE_YSIZE_HIMETRIC hmHeight = 0;
            s.still->get_Width(&hmWidth);
            s.still->get_Height(&hmHeight);
            HDC dc = GetDC(hwnd_);
            if (dc) {
                s.width = MulDiv(hmWidth, GetDeviceCaps(dc, LOGPIXELSX), kHimetricPerInch);
                s.height = MulDiv(hmHeight, GetDeviceCaps(dc, LOGPIXELSY), kHimetricPerInch);
                ReleaseDC(hwnd_, dc);
                ok = true;
            }
        }
    }
    if (ok) ok = s.width > 0 && s.height > 0 && prepareSurface(s.width, s.height);
    if (!ok) clearPicture();
    return ok;
}

bool CPictureEx::prepareSurface(int width, int height) {
    State& s = *state_;
    const bool own = shownSize_.cx <= 0 || shownSize_.cy <= 0;
    const struct {
        int width, height;
    } shown{own ? width : static_cast<int>(shownSize_.cx), own ? height : static_cast<int>(shownSize_.cy)};
    s.shownWidth = shown.width;
    s.shownHeight = shown.height;
    RECT client{};
    if (hwnd_ && (!GetClientRect(hwnd_, &client) || client.right != shown.width || client.bottom != shown.height))
        SetWindowPos(hwnd_, nullptr, 0, 0, shown.width, shown.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const bool reuse = s.back && s.front && s.back.width == width && s.back.height == height &&
                       s.front.width == shown.width && s.front.height == shown.height;
    if (!reuse) {
        HDC dc = GetDC(hwnd_);
        if (!dc) return false;
        const bool made = s.back.create(dc, width, height) && s.front.create(dc, shown.width, shown.height);
        ReleaseDC(hwnd_, dc);
        if (!made) {
            s.back.release();
            s.front.release();
            return false;
        }
    }
    s.window = hwnd_;
    s.background = GetSysColor(COLOR_BTNFACE);
    const RECT all{0, 0, width, height}, front{0, 0, shown.width, shown.height};
    FillRect(s.back.dc, &all, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1)));
    FillRect(s.front.dc, &front, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1)));
    EnterCriticalSection(&s.frontLock);
    s.ready = true;
    LeaveCriticalSection(&s.frontLock);
    return true;
}

void CPictureEx::showPicture() {
    State& s = *state_;
    if (!s.ready || isPlaying()) return;
    if (s.frames.size() >= 2 && !ClientAnimationsOn()) {
        // Windows' "show animations" is off: the first frame, still, drawn here (a frame is
        // decoded once, whichever thread draws it first) and no thread woken.
        s.hook = frameHook_;
        ComScope com;
        GdiCanvas canvas(s);
        ShowFirstFrame(s.timings, s.frameIndex, canvas);
        heldStill_ = true;
    } else if (s.frames.size() >= 2) {
        heldStill_ = false;
        s.hook = frameHook_;
        if (!thread_) {
            // Made once, suspended, its handle stored before it runs; it then waits for a wake.
            auto* reference = new std::shared_ptr<State>(state_);
            const uintptr_t handle =
                _beginthreadex(nullptr, 0, &AnimationThread, reference, CREATE_SUSPENDED, nullptr);
            if (!handle) {
                delete reference;
                return;
            }
            thread_ = reinterpret_cast<HANDLE>(handle);
            ResumeThread(thread_);
        }
        s.stop = false;
        ResetEvent(s.stopEvent);
        ResetEvent(s.parkedEvent);
        SetEvent(s.wakeEvent);
    } else if (s.still) {
        bool ok = false;
        RenderUpright(s.still, s.back.dc, 0, 0, s.width, s.height, ok);
        if (ok) s.present();
    }
}

void CPictureEx::stopAnimation() {
    State& s = *state_;
    s.stop = true;
    SetEvent(s.stopEvent);
    if (thread_ && WaitForSingleObject(s.parkedEvent, stopTimeoutMs_) != WAIT_OBJECT_0) {
        abandonThread();
        return;
    }
    ResetEvent(s.stopEvent);
    s.stop = false;
}

// A thread that did not stop in time is left to finish alone: it keeps its reference and
// frees the old state when it returns; its stop flag and event stay set and it is told to
// quit, so it ends at its next check. The control starts over with a state of its own.
void CPictureEx::abandonThread() {
    state_->quit = true;
    SetEvent(state_->wakeEvent);
    CloseHandle(thread_);
    thread_ = nullptr;
    state_ = std::make_shared<State>();
}

void CPictureEx::endThread() {
    if (!thread_) return;
    stopAnimation();
    if (!thread_) return;
    state_->quit = true;
    SetEvent(state_->wakeEvent);
    const bool ended = WaitForSingleObject(thread_, stopTimeoutMs_) == WAIT_OBJECT_0;
    if (!ended) {
        abandonThread();
        return;
    }
    CloseHandle(thread_);
    thread_ = nullptr;
    state_->quit = false;
}

void CPictureEx::clearPicture() {
    stopAnimation();
    heldStill_ = false;
    state_->release();
}

void CPictureEx::followAnimationSetting() {
    if (state_->frames.size() < 2) return;
    const bool animate = ClientAnimationsOn();
    if (heldStill_ && animate) {
        showPicture();
    } else if (!heldStill_ && !animate && isPlaying()) {
        stopAnimation();
        showPicture();
    }
}

void CPictureEx::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (!dc) return;
    State& s = *state_;
    EnterCriticalSection(&s.frontLock);
    if (s.ready) BitBlt(dc, 0, 0, s.shownWidth, s.shownHeight, s.front.dc, 0, 0, SRCCOPY);
    LeaveCriticalSection(&s.frontLock);
    EndPaint(hwnd_, &ps);
}

LRESULT CPictureEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ERASEBKGND:
            if (state_->ready) return TRUE;
            break;
        case WM_DESTROY:
            endThread();
            break;
        case WM_GETOBJECT:
            if (const LRESULT answer = AnswerGetObject(hwnd_, wParam, lParam)) return answer;
            break;
        case WM_ACCESSIBLE_TRAITS:
            if (auto* traits = reinterpret_cast<AccessibleTraits*>(lParam)) {
                traits->role = ROLE_SYSTEM_ANIMATION;
                return 1;
            }
            return 0;
        default:
            break;
    }
    return fw::CStatic::WindowProc(message, wParam, lParam);
}

}  // namespace mv
