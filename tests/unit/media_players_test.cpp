// The transport functions against every row of the player table.
#include <gtest/gtest.h>

#include "actions/input_codes.h"
#include "support/fake_platform.h"

namespace mv {
namespace {

using Lines = std::vector<std::string>;

constexpr WindowHandle kKwWindow = 0x510;
constexpr WindowHandle kTtWindow = 0x520;
constexpr WindowHandle kItWindow = 0x530;

class Players : public ::testing::Test {
protected:
    void running(std::vector<std::u16string> names) {
        names.insert(names.begin(), u"explorer.exe");
        p.processes = names;
    }
    void withWindows() {
        p.addWindow(0x500, 0, u"Shell_TrayWnd", {});
        p.addWindow(kKwWindow, 0, u"kwmusicmaindlg", {});
        p.addWindow(kTtWindow, 0, u"TTPlayer_PlayerWnd", {});
        p.addWindow(kItWindow, 0, u"iTunes", {});
    }
    Lines play(void (CFunction::*op)()) {
        log.clear();
        (a.function.*op)();
        return log;
    }

    test::FakeActions a;
    test::FakePlatform& p = a.platform;
    Lines& log = a.platform.log;
};

// Keys posted by PostKeyToWindow with the fake's scan code (vk & 0x7F).
const Lines kPostF5 = {"post 510 100 74 740001", "post 510 101 74 C0740001"};

TEST_F(Players, NoPlayerTapsTheMediaKey) {
    for (const auto& none : {std::optional<std::vector<std::u16string>>{std::vector<std::u16string>{u"explorer.exe"}},
                             std::optional<std::vector<std::u16string>>{}}) {
        p.processes = none;
        withWindows();  // windows alone do not count
        EXPECT_EQ(play(&CFunction::PlayPause), (Lines{"key B3 1", "key B3 3"}));
        EXPECT_EQ(play(&CFunction::StopPlayback), (Lines{"key B2 1", "key B2 3"}));
        EXPECT_EQ(play(&CFunction::PreviousTrack), (Lines{"key B1 1", "key B1 3"}));
        EXPECT_EQ(play(&CFunction::NextTrack), (Lines{"key B0 1", "key B0 3"}));
    }
}

TEST_F(Players, KwMusicWithAndWithoutItsWindow) {
    running({u"KwMusic.exe"});
    EXPECT_EQ(play(&CFunction::PlayPause), (Lines{"key 11 1", "key 74 1", "key 74 3", "key 11 3"}));
    EXPECT_EQ(play(&CFunction::StopPlayback), (Lines{"key 11 1", "key 75 1", "key 75 3", "key 11 3"}));
    EXPECT_EQ(play(&CFunction::PreviousTrack),
              (Lines{"key 11 1", "key A0 1", "key 25 1", "key 25 3", "key A0 3", "key 11 3"}));
    EXPECT_EQ(play(&CFunction::NextTrack),
              (Lines{"key 11 1", "key A0 1", "key 27 1", "key 27 3", "key A0 3", "key 11 3"}));
    withWindows();
    EXPECT_EQ(play(&CFunction::PlayPause), kPostF5);
    EXPECT_EQ(play(&CFunction::StopPlayback), (Lines{"post 510 100 75 750001", "post 510 101 75 C0750001"}));
    EXPECT_EQ(play(&CFunction::PreviousTrack),
              (Lines{"key 11 1", "post 510 100 25 1250001", "post 510 101 25 C1250001", "key 11 3"}));
    EXPECT_EQ(play(&CFunction::NextTrack),
              (Lines{"key 11 1", "post 510 100 27 1270001", "post 510 101 27 C1270001", "key 11 3"}));
}

TEST_F(Players, KuGouAlwaysGetsChordsAndNoStop) {
    running({u"KuGou.exe"});
    withWindows();
    EXPECT_EQ(play(&CFunction::PlayPause),
              (Lines{"key A2 1", "key A4 1", "key 74 1", "key 74 3", "key A4 3", "key A2 3"}));
    EXPECT_TRUE(play(&CFunction::StopPlayback).empty());
    EXPECT_EQ(play(&CFunction::PreviousTrack),
              (Lines{"key A2 1", "key A4 1", "key 25 1", "key 25 3", "key A4 3", "key A2 3"}));
    EXPECT_EQ(play(&CFunction::NextTrack),
              (Lines{"key A2 1", "key A4 1", "key 27 1", "key 27 3", "key A4 3", "key A2 3"}));
}

TEST_F(Players, TTPlayerWithAndWithoutItsWindow) {
    running({u"TTPlayer.exe"});
    EXPECT_EQ(play(&CFunction::PlayPause), (Lines{"key B3 1", "key B3 3"}));
    EXPECT_EQ(play(&CFunction::StopPlayback), (Lines{"key B3 1", "key B3 3"}));
    EXPECT_EQ(play(&CFunction::PreviousTrack), (Lines{"key B1 1", "key B1 3"}));
    EXPECT_EQ(play(&CFunction::NextTrack), (Lines{"key B0 1", "key B0 3"}));
    withWindows();
    EXPECT_EQ(play(&CFunction::PlayPause), (Lines{"post 520 100 74 740001", "post 520 101 74 C0740001"}));
    EXPECT_EQ(play(&CFunction::StopPlayback), (Lines{"post 520 100 75 750001", "post 520 101 75 C0750001"}));
    EXPECT_EQ(play(&CFunction::PreviousTrack),
              (Lines{"key 11 1", "post 520 100 25 1250001", "post 520 101 25 C1250001", "key 11 3"}));
    EXPECT_EQ(play(&CFunction::NextTrack),
              (Lines{"key 11 1", "post 520 100 27 1270001", "post 520 101 27 C1270001", "key 11 3"}));
}

TEST_F(Players, ITunesWithAndWithoutItsWindow) {
    running({u"iTunes.exe"});
    EXPECT_EQ(play(&CFunction::PlayPause), (Lines{"key B3 1", "key B3 3"}));
    EXPECT_EQ(play(&CFunction::StopPlayback), (Lines{"key B3 1", "key B3 3"}));
    EXPECT_EQ(play(&CFunction::PreviousTrack), (Lines{"key B1 1", "key B1 3"}));
    EXPECT_EQ(play(&CFunction::NextTrack), (Lines{"key B0 1", "key B0 3"}));
    withWindows();
    EXPECT_EQ(play(&CFunction::PlayPause), (Lines{"post 530 100 20 200001", "post 530 101 20 C0200001"}));
    // Stop never looks the window up: play/pause key, not the stop key.
    EXPECT_EQ(play(&CFunction::StopPlayback), (Lines{"key B3 1", "key B3 3"}));
    EXPECT_EQ(play(&CFunction::PreviousTrack),
              (Lines{"key 11 1", "post 530 100 25 1250001", "post 530 101 25 C1250001", "key 11 3"}));
    EXPECT_EQ(play(&CFunction::NextTrack),
              (Lines{"key 11 1", "post 530 100 27 1270001", "post 530 101 27 C1270001", "key 11 3"}));
}

TEST_F(Players, EveryRunningPlayerIsDrivenInTableOrder) {
    running({u"TTPlayer.exe", u"KwMusic.exe"});
    withWindows();
    Lines both = kPostF5;
    both.insert(both.end(), {"post 520 100 74 740001", "post 520 101 74 C0740001"});
    EXPECT_EQ(play(&CFunction::PlayPause), both);

    running({u"iTunes.exe", u"KuGou.exe"});
    EXPECT_EQ(play(&CFunction::StopPlayback), (Lines{"key B3 1", "key B3 3"}));
}

TEST_F(Players, ProcessNamesMatchAsCaseInsensitiveSubstrings) {
    running({u"mykwmusic.exe"});
    EXPECT_EQ(a.function.FindRunningPlayers(), kPlayerKwMusic);
    running({u"C:\\Apps\\KUGOU.EXE", u"ttplayer.exe"});
    EXPECT_EQ(a.function.FindRunningPlayers(), kPlayerKuGou | kPlayerTTPlayer);
    running({u"kwmusic.ex", u"iTunesHelper.exe", u"KuGou.ex"});  // no whole name
    EXPECT_EQ(a.function.FindRunningPlayers(), 0u);
    // Two names in one process: only the first in table order counts.
    running({u"iTunes.exeKuGou.exe"});
    EXPECT_EQ(a.function.FindRunningPlayers(), kPlayerKuGou);
    p.processes.reset();
    EXPECT_EQ(a.function.FindRunningPlayers(), 0u);
}

}  // namespace
}  // namespace mv
