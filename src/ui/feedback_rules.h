// The gesture feedback's rules: whether it is chosen (a registry value of its own beside
// ButtonSetting), which name a gesture shows, how the label fades, and where it stands.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "actions/platform.h"
#include "gesture/function_record.h"
#include "gesture/registry.h"
#include "gesture/slot_catalogue.h"

namespace mv {

// REG_DWORD under the ButtonSetting key: 1 shows the feedback; a missing value, 0, any other
// number and any other type or size mean off.
inline constexpr char16_t kFeedbackValue[] = u"GestureFeedback";

bool FeedbackChosen(const std::optional<RegistryValue>& stored);
bool LoadFeedbackChoice(RegistrySeam& registry);
// False when the choice could not be written.
bool SaveFeedbackChoice(RegistrySeam& registry, bool on);

// The text key of the name to show after `code` ran `ran`; empty for no label: the vertical
// wheel (plain notches or zoom steps, which show themselves), a record that runs nothing, and
// a function without a name of its own.
std::string_view FeedbackNameKey(DeviceEventCode code, const FunctionRecord& ran);

// The label's course from the moment it is shown: opaque for a while, then fading in steps,
// then hidden. Each frame says when the next one is due, so a timer runs only while it shows.
struct FeedbackFrame {
    bool visible = false;
    std::uint8_t alpha = 0;
    std::uint32_t nextInMs = 0;  // 0 once hidden
};

class FeedbackFade {
public:
    static constexpr std::uint32_t kHoldMs = 1000;
    static constexpr std::uint32_t kFadeMs = 400;
    static constexpr std::uint32_t kStepMs = 40;
    static constexpr std::uint8_t kAlpha = 230;

    // The frame `elapsedMs` after the label was shown (a late timer just lands further on).
    static FeedbackFrame At(std::uint32_t elapsedMs);
};

// The label's top-left corner for a label of `width` × `height` and the pointer at `cursor`:
// below and to the right of the pointer, else below-left, above-right or above-left, whichever
// first lies wholly in the work area; never over the pointer's hot spot while one of them does.
Point FeedbackLabelPosition(Point cursor, std::int32_t width, std::int32_t height, const Rect& workArea);

}  // namespace mv
