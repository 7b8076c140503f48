// Starting programs, files and web pages for the user who sits at the desktop, on a worker
// thread of its own (COM apartment-threaded, OLE1 DDE off), so that a slow shell or an
// unreachable network path holds up neither the gestures nor the window. The route is the
// first that can carry the launch: the desktop's shell, our linked limited token, or, when
// we are not elevated at all, ShellExecuteEx here. Each launch is reported to a window.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "actions/launch_route.h"

namespace mv {

struct LaunchReport {
    std::u16string target;
    LaunchRoute route = LaunchRoute::Refused;
    bool started = false;
};

class UserLauncher {
public:
    UserLauncher();
    ~UserLauncher();
    UserLauncher(const UserLauncher&) = delete;
    UserLauncher& operator=(const UserLauncher&) = delete;

    // Each finished launch posts `message` to `window` (nothing while unset); the reports
    // wait in TakeReports.
    void SetReportWindow(HWND window, UINT message);
    // Queues `target`; the worker starts with the first launch.
    void Launch(const std::u16string& target);
    std::vector<LaunchReport> TakeReports();
    // Waits until every queued launch has been tried (tests; bounded).
    bool WaitIdle(DWORD milliseconds);

private:
    // Shared with the worker, which may outlive the launcher while a launch hangs.
    struct State;
    std::shared_ptr<State> state_;
};

// The parts of a launch, each tried alone by the Wine tests; the launcher tries them as
// ChooseLaunchRoute says.
LaunchAbilities ReadLaunchAbilities();
// Whether the desktop's shell can be reached, without starting anything.
HRESULT ReachDesktopShell();
LaunchReport LaunchForUser(const std::u16string& target);
HRESULT LaunchThroughDesktopShell(const std::u16string& target);
bool LaunchWithLinkedToken(const std::u16string& target);
bool LaunchDirectly(const std::u16string& target);

}  // namespace mv
