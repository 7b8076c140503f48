#include "actions/launch_route.h"

#include <algorithm>

namespace mv {

LaunchRoute ChooseLaunchRoute(const LaunchAbilities& abilities) {
    if (!abilities.elevated) return LaunchRoute::Direct;
    if (abilities.desktopShell) return LaunchRoute::DesktopShell;
    if (abilities.linkedToken) return LaunchRoute::LimitedToken;
    return LaunchRoute::Refused;
}

std::optional<std::u16string> ShellExecRunDllCommand(const std::u16string& rundll32, const std::u16string& target) {
    const auto unsafe = [](char16_t c) { return c == u'"' || c < 0x20 || c == 0x7F; };
    if (target.empty() || rundll32.empty() || std::any_of(target.begin(), target.end(), unsafe) ||
        std::any_of(rundll32.begin(), rundll32.end(), unsafe))
        return std::nullopt;
    // A backslash before the closing quote would escape it: the parser must see it doubled.
    std::u16string quoted = target;
    if (quoted.back() == u'\\') quoted += u'\\';
    return u"\"" + rundll32 + u"\" shell32.dll,ShellExec_RunDLL \"" + quoted + u"\"";
}

}  // namespace mv
