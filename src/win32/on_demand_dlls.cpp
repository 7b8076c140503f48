#include "win32/on_demand_dlls.h"

#include "win32/win32_platform.h"

namespace mv::ondemand {
// The system function `name` of `dll`, looked up at the first call and kept.
#define MV_ON_DEMAND(dll, name) static const auto name##Fn = SystemFunction<decltype(&::name)>(dll, #name)

HRESULT CoInitializeEx(void* reserved, DWORD flags) {
    MV_ON_DEMAND(L"ole32.dll", CoInitializeEx);
    return CoInitializeExFn ? CoInitializeExFn(reserved, flags) : E_FAIL;
}

void CoUninitialize() {
    MV_ON_DEMAND(L"ole32.dll", CoUninitialize);
    if (CoUninitializeFn) CoUninitializeFn();
}

HRESULT CoCreateInstance(REFCLSID type, IUnknown* outer, DWORD context, REFIID interfaceId, void** object) {
    MV_ON_DEMAND(L"ole32.dll", CoCreateInstance);
    if (object) *object = nullptr;
    return CoCreateInstanceFn ? CoCreateInstanceFn(type, outer, context, interfaceId, object) : E_FAIL;
}

HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL freeWithStream, IStream** stream) {
    MV_ON_DEMAND(L"ole32.dll", CreateStreamOnHGlobal);
    if (stream) *stream = nullptr;
    return CreateStreamOnHGlobalFn ? CreateStreamOnHGlobalFn(memory, freeWithStream, stream) : E_FAIL;
}

HRESULT OleLoadPicture(IStream* stream, LONG size, BOOL runMode, REFIID interfaceId, void** picture) {
    MV_ON_DEMAND(L"oleaut32.dll", OleLoadPicture);
    if (picture) *picture = nullptr;
    return OleLoadPictureFn ? OleLoadPictureFn(stream, size, runMode, interfaceId, picture) : E_FAIL;
}

BSTR SysAllocString(const OLECHAR* text) {
    MV_ON_DEMAND(L"oleaut32.dll", SysAllocString);
    return SysAllocStringFn ? SysAllocStringFn(text) : nullptr;
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    MV_ON_DEMAND(L"oleaut32.dll", SysAllocStringLen);
    return SysAllocStringLenFn ? SysAllocStringLenFn(text, length) : nullptr;
}

void SysFreeString(BSTR text) {
    MV_ON_DEMAND(L"oleaut32.dll", SysFreeString);
    if (SysFreeStringFn) SysFreeStringFn(text);
}

void VariantInit(VARIANT* value) {
    MV_ON_DEMAND(L"oleaut32.dll", VariantInit);
    if (VariantInitFn)
        VariantInitFn(value);
    else if (value)
        value->vt = VT_EMPTY;
}

BOOL GetOpenFileNameW(OPENFILENAMEW* dialog) {
    MV_ON_DEMAND(L"comdlg32.dll", GetOpenFileNameW);
    return GetOpenFileNameWFn ? GetOpenFileNameWFn(dialog) : FALSE;
}

BOOL GetSaveFileNameW(OPENFILENAMEW* dialog) {
    MV_ON_DEMAND(L"comdlg32.dll", GetSaveFileNameW);
    return GetSaveFileNameWFn ? GetSaveFileNameWFn(dialog) : FALSE;
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
    // Looked up by name, so the activation context's common controls 6 (the manifest's) answer.
    MV_ON_DEMAND(L"comctl32.dll", InitCommonControlsEx);
    return InitCommonControlsExFn && InitCommonControlsExFn(controls);
}

}  // namespace mv::ondemand
