// The icon data that TrayIcon hands the shell, recorded in this process: the add, a balloon,
// the taskbar created again, the removal.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/tray.h"
#include "device/device_presence.h"

namespace mv::wintest {
namespace {

struct NotifyCall {
    DWORD message;
    NOTIFYICONDATAW data;
};
std::vector<NotifyCall> g_notifyCalls;

BOOL WINAPI RecordNotify(DWORD message, PNOTIFYICONDATAW data) {
    g_notifyCalls.push_back({message, *data});
    return TRUE;
}

void ExpectCreationData(const NOTIFYICONDATAW& data, HWND window, const std::wstring& tip) {
    EXPECT_EQ(data.cbSize, 956u);
    EXPECT_EQ(data.hWnd, window);
    EXPECT_EQ(data.uID, 128u);
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(data.uCallbackMessage, 0x600u);
    EXPECT_EQ(std::wstring(data.szTip), tip);
    EXPECT_EQ(data.szInfo[0], L'\0');
}

TEST(TrayIconData, AddBalloonTheTaskbarComingBackAndRemove) {
    g_notifyCalls.clear();
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    {
        TrayIcon tray(RecordNotify);
        tray.Restore();
        EXPECT_TRUE(g_notifyCalls.empty()) << "an icon restored before it was added";

        tray.Add(window, L"Morvi Corvel Config");
        ASSERT_EQ(g_notifyCalls.size(), 1u);
        EXPECT_EQ(g_notifyCalls[0].message, static_cast<DWORD>(NIM_ADD));
        ExpectCreationData(g_notifyCalls[0].data, window, L"Morvi Corvel Config");

        // A balloon on Windows XP: the older structure size, NIF_INFO alone.
        tray.ShowBalloon(LowBatteryBalloon(4, u"low"));
        ASSERT_EQ(g_notifyCalls.size(), 2u);
        const NOTIFYICONDATAW& balloon = g_notifyCalls[1].data;
        EXPECT_EQ(g_notifyCalls[1].message, static_cast<DWORD>(NIM_MODIFY));
        EXPECT_EQ(balloon.cbSize, 952u);
        EXPECT_EQ(balloon.uFlags, static_cast<UINT>(NIF_INFO));
        EXPECT_EQ(std::wstring(balloon.szInfoTitle), L"Morvi Corvel");
        EXPECT_EQ(std::wstring(balloon.szInfo), L"low");
        EXPECT_EQ(balloon.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
        EXPECT_EQ(balloon.uTimeout, 5000u);

        // The taskbar created again: the icon is added anew with the data of the first add.
        tray.Restore();
        ASSERT_EQ(g_notifyCalls.size(), 3u);
        EXPECT_EQ(g_notifyCalls[2].message, static_cast<DWORD>(NIM_ADD));
        ExpectCreationData(g_notifyCalls[2].data, window, L"Morvi Corvel Config");
        EXPECT_EQ(g_notifyCalls[2].data.hIcon, g_notifyCalls[0].data.hIcon);

        tray.Remove();
        ASSERT_EQ(g_notifyCalls.size(), 4u);
        EXPECT_EQ(g_notifyCalls[3].message, static_cast<DWORD>(NIM_DELETE));
        EXPECT_EQ(g_notifyCalls[3].data.hWnd, window);
        EXPECT_EQ(g_notifyCalls[3].data.uID, 128u);
        tray.Restore();
        EXPECT_EQ(g_notifyCalls.size(), 4u) << "an icon restored after it was removed";

        // A tooltip longer than the field is cut to 127 characters and terminated.
        TrayIcon longTip(RecordNotify);
        longTip.Add(window, std::wstring(300, L'x'));
        ASSERT_EQ(g_notifyCalls.size(), 5u);
        EXPECT_EQ(std::wstring(g_notifyCalls[4].data.szTip), std::wstring(127, L'x'));
    }
    EXPECT_NE(TrayIcon::TaskbarCreatedMessage(), 0u);
    EXPECT_EQ(TrayIcon::TaskbarCreatedMessage(), RegisterWindowMessageW(L"TaskbarCreated"));
    DestroyWindow(window);
}

}  // namespace
}  // namespace mv::wintest
