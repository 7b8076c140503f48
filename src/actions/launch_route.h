// How a program, file or web page is started for the user. An elevated program must not
// start it itself (it would run elevated, and the user's own file associations could
// redirect it): it asks the desktop's shell, which runs as the user, or starts it with
// the limited token that Windows linked to ours.
#pragma once

#include <optional>
#include <string>

namespace mv {

enum class LaunchRoute : unsigned char {
    DesktopShell,  // the shell of the desktop runs it (IShellDispatch2::ShellExecute)
    LimitedToken,  // rundll32's ShellExec_RunDLL started with our linked limited token
    Direct,        // ShellExecuteEx in this process, which is not elevated
    Refused,       // none of them can: nothing is started
};

struct LaunchAbilities {
    bool elevated = true;       // our token is elevated (or its elevation cannot be read)
    bool desktopShell = false;  // the desktop has a shell window whose view can run it
    bool linkedToken = false;   // Windows linked a limited token to ours
};

LaunchRoute ChooseLaunchRoute(const LaunchAbilities& abilities);

// The command line that has rundll32 open `target`, the target quoted so that nothing in
// it can add arguments; nothing for a target that cannot be quoted (a double quote, a
// control character, or empty).
std::optional<std::u16string> ShellExecRunDllCommand(const std::u16string& rundll32, const std::u16string& target);

}  // namespace mv
