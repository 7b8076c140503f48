/* Planted beside a program under the name of a system DLL: leaves "NAME.loaded" beside itself
   when a process loads it, so that a test sees whether the program took it. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH + 16];
        const DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            lstrcpyW(path + length, L".loaded");
            HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
        }
    }
    return TRUE;
}
