// The application object: start-up, single instance, the loop on the hidden
// main window, and shutdown.
#pragma once

#include <windows.h>

#include "framework/wnd.h"

namespace mv {

class CMorviCorvelConfigApp : public fw::CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;
};

}  // namespace mv
