// Program entry.
#include <windows.h>

#include "app/application.h"
#include "win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    mv::RestrictDllSearch();
    static mv::CMorviCorvelConfigApp app;
    return app.Run(instance);
}
