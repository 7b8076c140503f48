// The gesture feedback label under Wine, for assistive technology and Windows' display
// settings: each showing raised as a name change (caught by an out-of-context WinEvent hook)
// with the shown text as the name oleacc reads and a static-text role; under high contrast
// (reported on through the seam, as Wine always says off) opaque in the system's menu colours;
// without "show animations" (set for real) no fading, also when the setting changes mid-course.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "ui/feedback_label_win.h"
#include "ui/feedback_rules.h"
#include "ui/system_look_win.h"
#include "win/skin_fixtures.h"

namespace mv::wintest {
namespace {

struct Event {
    HWND window;
    LONG object, child;
};
std::mutex g_lock;
std::vector<Event> g_events;

void CALLBACK OnNameChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (lstrcmpW(cls, L"MvGestureFeedback") != 0) return;
    std::lock_guard<std::mutex> guard(g_lock);
    g_events.push_back({window, object, child});
}

std::vector<Event> Events() {
    std::lock_guard<std::mutex> guard(g_lock);
    return g_events;
}

void ClearEvents() {
    std::lock_guard<std::mutex> guard(g_lock);
    g_events.clear();
}

// Pumps until `count` events arrived or `ms` passed.
bool WaitForEvents(std::size_t count, DWORD ms = 3000) {
    const DWORD start = GetTickCount();
    while (Events().size() < count && GetTickCount() - start < ms) Pump(20);
    return Events().size() >= count;
}

HWND LabelWindow() { return FindWindowW(L"MvGestureFeedback", nullptr); }

// Name and role of the window's client object, read through oleacc.
struct Spoken {
    HRESULT result = E_FAIL;
    std::wstring name;
    long role = 0;
};
Spoken Read(HWND window) {
    using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    static HMODULE oleacc = LoadLibraryW((std::wstring(system) + L"\\oleacc.dll").c_str());
    const auto fromWindow =
        oleacc ? reinterpret_cast<FromWindow>(reinterpret_cast<void*>(GetProcAddress(oleacc, "AccessibleObjectFromWindow")))
               : nullptr;
    Spoken out;
    if (!fromWindow) return out;
    IAccessible* acc = nullptr;
    out.result = fromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&acc));
    if (FAILED(out.result) || !acc) return out;
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (SUCCEEDED(acc->get_accName(self, &name)) && name) out.name.assign(name, SysStringLen(name));
    SysFreeString(name);
    VARIANT role;
    VariantInit(&role);
    if (SUCCEEDED(acc->get_accRole(self, &role)) && role.vt == VT_I4) out.role = role.lVal;
    acc->Release();
    return out;
}

// Waits until the label shows (its window made and visible).
HWND WaitShown(DWORD ms = 3000) {
    const DWORD start = GetTickCount();
    HWND window = nullptr;
    while (GetTickCount() - start < ms) {
        window = LabelWindow();
        if (window && IsWindowVisible(window)) return window;
        Pump(10);
    }
    return nullptr;
}

BYTE Alpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(window, nullptr, &alpha, &flags);
    return alpha;
}

struct Sample {
    DWORD at;
    bool visible;
    BYTE alpha;
};
// The label's visibility and strength every few milliseconds for `ms` after a showing.
std::vector<Sample> Follow(HWND window, DWORD shownAt, DWORD ms) {
    std::vector<Sample> samples;
    while (GetTickCount() - shownAt < ms) {
        samples.push_back({GetTickCount() - shownAt, IsWindowVisible(window) != FALSE, Alpha(window)});
        Pump(10);
    }
    return samples;
}

// "Show animations" as it was before the test, given back after it.
class AnimationSetting {
public:
    AnimationSetting() { SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &saved_, 0); }
    ~AnimationSetting() { Set(saved_ != FALSE); }
    static bool Set(bool on) {
        return SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(on)),
                                     SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != FALSE;
    }

private:
    BOOL saved_ = TRUE;
};

class FeedbackLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        MoveMouse(300, 300);
        Pump(50);
    }
    void TearDown() override {
        label.Close();
        SetHighContrastAnswer(nullptr);
        CoUninitialize();
    }
    FeedbackLabel label;
};

TEST_F(FeedbackLabelTest, EachShowingIsRaisedAsANameChangeAndReadAsStaticText) {
    ClearEvents();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, OnNameChange,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    label.Show(L"Volume up");
    ASSERT_TRUE(WaitForEvents(1)) << "no name change from the label";
    const Event first = Events().front();
    EXPECT_EQ(first.object, OBJID_CLIENT);
    EXPECT_EQ(first.child, CHILDID_SELF);
    Spoken spoken = Read(first.window);
    ASSERT_TRUE(SUCCEEDED(spoken.result)) << std::hex << spoken.result;
    EXPECT_EQ(spoken.name, L"Volume up");
    EXPECT_EQ(spoken.role, ROLE_SYSTEM_STATICTEXT);

    // The same function again (the gesture repeated) is raised again.
    label.Show(L"Volume up");
    EXPECT_TRUE(WaitForEvents(2)) << "a repeated showing is spoken again";
    // A text with an ampersand reads as it shows.
    label.Show(L"Cut & paste");
    ASSERT_TRUE(WaitForEvents(3));
    spoken = Read(Events().back().window);
    EXPECT_EQ(spoken.name, L"Cut & paste");
    // A Chinese function name ("volume up") reads as it shows.
    const std::wstring chinese = L"\u97F3\u91CF\u589E\u5927";
    label.Show(chinese);
    ASSERT_TRUE(WaitForEvents(4));
    EXPECT_EQ(Read(Events().back().window).name, chinese);
    UnhookWinEvent(hook);
}

bool On() { return true; }

TEST_F(FeedbackLabelTest, UnderHighContrastItIsOpaqueInTheSystemMenuColours) {
    // High Contrast White's menu colours: neither is one of the label's own.
    constexpr COLORREF kMenu = RGB(255, 255, 255), kMenuText = RGB(0, 0, 0);
    const int elements[2] = {COLOR_MENU, COLOR_MENUTEXT};
    const COLORREF white[2] = {kMenu, kMenuText};
    COLORREF saved[2] = {GetSysColor(COLOR_MENU), GetSysColor(COLOR_MENUTEXT)};
    SetSysColors(2, elements, white);
    SetHighContrastAnswer(On);
    label.Show(L"Volume up");
    HWND window = WaitShown();
    ASSERT_NE(window, nullptr);
    Pump(200);
    EXPECT_EQ(Alpha(window), 255) << "opaque";
    RECT r{};
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int body = 0, text = 0;
    for (int y = r.top + 3; y < r.bottom - 3; ++y)
        for (int x = r.left + 3; x < r.right - 3; ++x) {
            const COLORREF c = ScreenPixel(x, y);
            body += c == kMenu;
            text += c == kMenuText;
        }
    EXPECT_GT(body, (w - 6) * (h - 6) / 3) << "the body in the menu colour";
    EXPECT_GT(text, 10) << "the text in the menu text colour";
    SaveScreenshot(L"feedback-high-contrast.png");

    SetHighContrastAnswer(nullptr);
    SetSysColors(2, elements, saved);
    label.Show(L"Volume down");
    Pump(200);
    EXPECT_EQ(Alpha(window), FeedbackFade::kAlpha) << "off again: translucent as before";
    EXPECT_NE(ScreenPixel(r.left + w / 2, r.top + 2), kMenu);
}

TEST_F(FeedbackLabelTest, WithoutAnimationsItKeepsItsStrengthAndGoesWithoutFading) {
    AnimationSetting restore;
    const DWORD course = FeedbackFade::kHoldMs + FeedbackFade::kFadeMs;
    const auto faded = [](const std::vector<Sample>& samples) {
        return std::count_if(samples.begin(), samples.end(), [](const Sample& s) {
            return s.visible && s.alpha > 0 && s.alpha < FeedbackFade::kAlpha;
        });
    };
    // With animations the probe sees the fade.
    ASSERT_TRUE(AnimationSetting::Set(true));
    DWORD shownAt = GetTickCount();
    label.Show(L"Volume up");
    HWND window = WaitShown();
    ASSERT_NE(window, nullptr);
    std::vector<Sample> samples = Follow(window, shownAt, course + 500);
    EXPECT_GT(faded(samples), 2) << "fading steps seen";

    ASSERT_TRUE(AnimationSetting::Set(false));
    shownAt = GetTickCount();
    label.Show(L"Volume up");
    ASSERT_EQ(WaitShown(), window);
    samples = Follow(window, shownAt, course + 500);
    EXPECT_EQ(faded(samples), 0) << "no step between full strength and hidden";
    EXPECT_TRUE(std::any_of(samples.begin(), samples.end(), [&](const Sample& s) {
        return s.visible && s.at > FeedbackFade::kHoldMs + 100 && s.at < course - 100;
    })) << "still there where it would have faded";
    EXPECT_FALSE(samples.back().visible) << "gone after its course";

    // The setting turned off while it fades: at full strength again at once.
    ASSERT_TRUE(AnimationSetting::Set(true));
    shownAt = GetTickCount();
    label.Show(L"Volume down");
    ASSERT_EQ(WaitShown(), window);
    while (IsWindowVisible(window) && Alpha(window) == FeedbackFade::kAlpha && GetTickCount() - shownAt < 3000) Pump(5);
    ASSERT_TRUE(IsWindowVisible(window));
    ASSERT_LT(Alpha(window), FeedbackFade::kAlpha) << "fading";
    ASSERT_TRUE(AnimationSetting::Set(false));
    Pump(30);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(Alpha(window), FeedbackFade::kAlpha) << "WM_SETTINGCHANGE followed";
}

}  // namespace
}  // namespace mv::wintest
