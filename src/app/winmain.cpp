// Program entry.
#include <windows.h>

#include "app/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    static mv::CMorviCorvelConfigApp app;
    return app.Run(instance);
}
