// Entry points of the optional Facebook plug-in module. Nothing loads such a
// module, so without one every operation only asks for the foreground window.
#pragma once

#include <cstdint>

#include "seams/system.h"

namespace mv {

class CFaceBookFunction {
public:
    CFaceBookFunction(DesktopSeam& desktop, SystemSeam& system) : desktop_(desktop), system_(system) {}
    virtual ~CFaceBookFunction() = default;

    virtual void OpenFriendAlign() { Call("OpenFriendAlign"); }
    virtual void OpenAllNotify() { Call("OpenAllNotify"); }
    virtual void OpenAllMessage() { Call("OpenAllMessage"); }
    virtual void OpenAllFriend() { Call("OpenAllFriend"); }
    virtual void OpenSearchFriend() { Call("OpenSearchFriend"); }
    virtual void OpenZoomInWindow() { Call("OpenZoomInWindow"); }
    virtual void OpenZoomOutWindow() { Call("OpenZoomOutWindow"); }

    ModuleHandle module = 0;
    std::uintptr_t entry = 0;

private:
    void Call(const char* exportName);

    DesktopSeam& desktop_;
    SystemSeam& system_;
};

}  // namespace mv
