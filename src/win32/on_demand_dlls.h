// COM, picture, file-dialog and common-control functions looked up in system32 at their first
// call, so that a resident program that is never opened loads neither ole32, oleaut32, comdlg32
// nor comctl32 (nor what they bring). Each answers as the system function does, or as a
// failure (E_FAIL, null, FALSE) when its DLL or the function is missing.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <oleauto.h>
#include <olectl.h>
#include <commdlg.h>
#include <commctrl.h>

namespace mv::ondemand {

HRESULT CoInitializeEx(void* reserved, DWORD flags);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID type, IUnknown* outer, DWORD context, REFIID interfaceId, void** object);
HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL freeWithStream, IStream** stream);
HRESULT OleLoadPicture(IStream* stream, LONG size, BOOL runMode, REFIID interfaceId, void** picture);
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
void VariantInit(VARIANT* value);
BOOL GetOpenFileNameW(OPENFILENAMEW* dialog);
BOOL GetSaveFileNameW(OPENFILENAMEW* dialog);
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);

}  // namespace mv::ondemand
