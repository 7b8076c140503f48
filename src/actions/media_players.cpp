// The transport functions: each running music player gets the command in the
// form it understands; with none running, the system media key is tapped.
#include <array>
#include <string_view>

#include "actions/cfunction.h"
#include "base/case_fold.h"
#include "actions/input_codes.h"

namespace mv {

namespace {

struct Player {
    std::uint32_t bit;
    std::u16string_view process;
    std::u16string_view windowClass;  // empty: never looked up
};

constexpr std::array<Player, 4> kPlayers = {{
    {kPlayerKwMusic, u"KwMusic.exe", u"kwmusicmaindlg"},
    {kPlayerKuGou, u"KuGou.exe", u""},
    {kPlayerTTPlayer, u"TTPlayer.exe", u"TTPlayer_PlayerWnd"},
    {kPlayeriTunes, u"iTunes.exe", u"iTunes"},
}};

enum Operation { kPlayPause, kStop, kPrevious, kNext };

// What one player row does: a key posted to its window (with or without Ctrl),
// or, without the window, a chord or a tap. `post` 0 means the window is not
// looked up; chord and tap both 0 means nothing is sent.
struct Row {
    std::uint8_t post;
    std::uint32_t postModifiers;
    std::array<std::uint8_t, 3> chord;  // modifiers..., key; zeros unused
    std::uint8_t tap;
};

constexpr Row kNothing{0, 0, {0, 0, 0}, 0};

Row RowFor(Operation op, std::uint32_t player) {
    switch (op) {
        case kPlayPause:
            if (player == kPlayerKwMusic) return {kVkF5, 0, {kVkControl, kVkF5, 0}, 0};
            if (player == kPlayerKuGou) return {0, 0, {kVkLControl, kVkLMenu, kVkF5}, 0};
            if (player == kPlayerTTPlayer) return {kVkF5, 0, {0, 0, 0}, kVkMediaPlayPause};
            return {kVkSpace, 0, {0, 0, 0}, kVkMediaPlayPause};
        case kStop:
            if (player == kPlayerKwMusic) return {kVkF6, 0, {kVkControl, kVkF6, 0}, 0};
            if (player == kPlayerKuGou) return kNothing;
            if (player == kPlayerTTPlayer) return {kVkF6, 0, {0, 0, 0}, kVkMediaPlayPause};
            return {0, 0, {0, 0, 0}, kVkMediaPlayPause};
        case kPrevious:
        case kNext: {
            const std::uint8_t arrow = op == kPrevious ? kVkLeft : kVkRight;
            const std::uint8_t media = op == kPrevious ? kVkMediaPrevTrack : kVkMediaNextTrack;
            if (player == kPlayerKwMusic) return {arrow, kPostCtrl, {kVkControl, kVkLShift, arrow}, 0};
            if (player == kPlayerKuGou) return {0, 0, {kVkLControl, kVkLMenu, arrow}, 0};
            return {arrow, kPostCtrl, {0, 0, 0}, media};
        }
    }
    return kNothing;
}

constexpr std::uint8_t kNoPlayerKey[] = {kVkMediaPlayPause, kVkMediaStop, kVkMediaPrevTrack, kVkMediaNextTrack};

}  // namespace

std::uint32_t CFunction::FindRunningPlayers() {
    const auto names = ctx_.system.runningProcessNames();
    if (!names) return 0;
    std::uint32_t found = 0;
    for (const auto& name : *names) {
        for (const auto& player : kPlayers) {
            if (ContainsIgnoringAsciiCase(name, player.process)) {
                found |= player.bit;
                break;
            }
        }
    }
    return found;
}

void CFunction::transport(int operation) {
    const auto op = static_cast<Operation>(operation);
    const std::uint32_t running = FindRunningPlayers();
    if (running == 0) {
        TapKey(kNoPlayerKey[op]);
        return;
    }
    for (const auto& player : kPlayers) {
        if (!(running & player.bit)) continue;
        const Row row = RowFor(op, player.bit);
        if (row.post != 0 && !player.windowClass.empty()) {
            const WindowHandle window = ctx_.desktop.findWindow(std::u16string(player.windowClass));
            if (window != 0) {
                PostKeyToWindow(window, row.postModifiers, row.post);
                continue;
            }
        }
        if (row.chord[0] != 0) {
            if (row.chord[2] != 0)
                SendShortcut({row.chord[0], row.chord[1]}, row.chord[2]);
            else
                SendShortcut({row.chord[0]}, row.chord[1]);
        } else if (row.tap != 0) {
            TapKey(row.tap);
        }
    }
}

void CFunction::PlayPause() { transport(kPlayPause); }
void CFunction::StopPlayback() { transport(kStop); }
void CFunction::PreviousTrack() { transport(kPrevious); }
void CFunction::NextTrack() { transport(kNext); }

}  // namespace mv
