#include "ui/dialog_captions.h"

#include "i18n/text_catalogue.h"
#include "ui/keyboard_model.h"

namespace mv {

std::u16string ButtonCaption(const CaptionKeys& keys) { return MarkedCaption(tr(keys.plain), tr(keys.marked)); }

std::vector<std::vector<CaptionKeys>> DialogCaptionSets() {
    std::vector<CaptionKeys> macro(std::begin(kMacroCaptions), std::end(kMacroCaptions));
    macro.push_back(kOkCaption);
    macro.push_back(kCancelCaption);
    return {
        {kOkCaption, kCancelCaption},                                    // restore defaults
        {kPreciseCaption, kOkCaption, kCancelCaption},                   // pointer speed
        {kClearCaption, kMouseCaptions[0], kMouseCaptions[1], kMouseCaptions[2], kOkCaption, kCancelCaption},
        {kBrowseCaption, kOkCaption, kCancelCaption},                    // program or file, web page
        macro,
    };
}

}  // namespace mv
