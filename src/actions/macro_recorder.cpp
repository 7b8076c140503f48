#include "actions/macro_recorder.h"

#include "base/text_fill.h"

#include <algorithm>

namespace mv {

std::uint32_t StoredDelayForGap(std::uint8_t key, std::uint32_t gapMs) {
    if (key == 0 || IsMouseButtonKey(key)) return gapMs;
    return gapMs > kPlayerKeyPauseMs ? gapMs - kPlayerKeyPauseMs : 0;
}

std::uint32_t PlayedGap(const MacroStep& step) {
    if (step.key == 0 || IsMouseButtonKey(step.key)) return step.delayMs;
    return step.delayMs + kPlayerKeyPauseMs;
}

void MacroRecorder::start() {
    recording_ = true;
    events_.clear();
    down_.clear();
}

void MacroRecorder::event(std::uint8_t key, bool up, std::uint32_t timeMs) {
    if (!recording_ || key == 0) return;
    const auto held = std::find(down_.begin(), down_.end(), key);
    if (!up) {
        if (held != down_.end()) return;  // auto-repeat
        down_.push_back(key);
    } else {
        if (held == down_.end()) return;  // pressed before the recording started
        down_.erase(held);
    }
    events_.push_back({key, up, timeMs});
}

std::vector<MacroStep> MacroRecorder::stop() {
    recording_ = false;
    std::vector<MacroStep> steps;
    steps.reserve(events_.size());
    for (std::size_t i = 0; i < events_.size(); ++i) {
        const Timed& e = events_[i];
        // Unsigned difference: a tick count that wrapped in between still gives the gap.
        const std::uint32_t gap = i + 1 < events_.size() ? events_[i + 1].time - e.time : 0;
        steps.push_back({e.key, e.up, StoredDelayForGap(e.key, gap)});
    }
    // A macro never leaves a key or button down: what is still held is released at the end.
    for (const std::uint8_t key : down_) steps.push_back({key, true, 0});
    events_.clear();
    down_.clear();
    return steps;
}

std::u16string MacroStepText(const MacroStep& step, const MouseButtonNames& buttons, const std::u16string& pressText,
                             const std::u16string& releaseText, const std::u16string& msText) {
    std::u16string text = KeyName(step.key, buttons);
    text += u"  ";
    text += step.up ? releaseText : pressText;
    text += u"  ";
    text += DecimalText(PlayedGap(step));
    text += u' ';
    text += msText;
    return text;
}

}  // namespace mv
