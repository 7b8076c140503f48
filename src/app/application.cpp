#include "app/application.h"

#include <memory>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "i18n/text_catalogue.h"
#include "win32/win32_platform.h"

namespace mv {

BOOL CMorviCorvelConfigApp::InitInstance() {
    // COM (EnsureUiThreadCom), GDI+ (GdiplusSession) and common controls (the first tooltip)
    // begin where they are first needed.
    MarkUiThread();

    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    loadTextCatalogue(languageFilePath(FromWide(module)));
    const std::wstring title = ToWide(tr("tc_mouse_title"));

    // An empty or missing title does not matter: the search is restricted to our own class.
    SingleInstance instance;
    if (!instance.Claim(title)) return FALSE;

    CMorviCorvelConfigDlg::RegisterWindowClass();
    auto window = std::make_unique<CMorviCorvelConfigDlg>();
    mainWindow = window.get();
    if (window->Create(nullptr)) window->RunModalLoop();
    mainWindow = nullptr;
    window.reset();
    instance.Release();
    return FALSE;
}

int CMorviCorvelConfigApp::ExitInstance() {
    EndUiThreadCom();
    return CWinApp::ExitInstance();
}

}  // namespace mv
