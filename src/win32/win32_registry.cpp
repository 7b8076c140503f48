#include "win32/win32_registry.h"

#include <windows.h>
#include <sddl.h>

#include "win32/win32_platform.h"

namespace mv {

namespace {
HKEY Root(RegistryRoot root) { return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
HKEY K(RegistryKey key) { return reinterpret_cast<HKEY>(key); }
}  // namespace

RegistryKey Win32Registry::openKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(Root(root), ToWide(path).c_str(), 0, access, &key) != ERROR_SUCCESS) return 0;
    return reinterpret_cast<RegistryKey>(key);
}

RegistryKey Win32Registry::createKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(Root(root), ToWide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 0;
    return reinterpret_cast<RegistryKey>(key);
}

std::optional<RegistryValue> Win32Registry::queryValue(RegistryKey key, const std::u16string& name,
                                                       std::size_t capacity) {
    RegistryValue value;
    if (capacity == kWholeValue) {
        DWORD needed = 0;
        if (RegQueryValueExW(K(key), ToWide(name).c_str(), nullptr, nullptr, nullptr, &needed) != ERROR_SUCCESS)
            return std::nullopt;
        capacity = needed;
    }
    value.data.resize(capacity);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(capacity);
    if (RegQueryValueExW(K(key), ToWide(name).c_str(), nullptr, &type, value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.type = type;
    value.data.resize(size <= capacity ? size : capacity);
    return value;
}

bool Win32Registry::setValue(RegistryKey key, const std::u16string& name, std::uint32_t type,
                             const std::uint8_t* data, std::size_t size) {
    return RegSetValueExW(K(key), ToWide(name).c_str(), 0, type, data, static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

bool Win32Registry::deleteValue(RegistryKey key, const std::u16string& name) {
    const LONG r = RegDeleteValueW(K(key), ToWide(name).c_str());
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

void Win32Registry::closeKey(RegistryKey key) {
    if (key) RegCloseKey(K(key));
}

std::vector<std::u16string> Win32Registry::subkeyNames(RegistryKey key) {
    std::vector<std::u16string> names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        const LONG r = RegEnumKeyExW(K(key), i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS) continue;
        names.emplace_back(reinterpret_cast<const char16_t*>(name), length);
    }
    return names;
}

bool Win32Registry::deleteTree(RegistryRoot root, const std::u16string& path) {
    const LONG r = RegDeleteTreeW(Root(root), ToWide(path).c_str());
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

bool Win32Registry::restrictToAdministrators(RegistryRoot root, const std::u16string& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    // Protected (P): nothing inherited; SYSTEM and Administrators have full control here and below.
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;CI;KA;;;SY)(A;CI;KA;;;BA)", SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return false;
    HKEY key = nullptr;
    bool set = false;
    if (RegOpenKeyExW(Root(root), ToWide(path).c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
        set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    LocalFree(descriptor);
    return set;
}

bool Win32PointerSettings::setMouseSpeed(int speed) {
    // Windows takes the speed from pvParam. Wine 8 stores uiParam instead (MouseSensitivity
    // became "0", so the pointer dialog read back the slowest speed): both carry it.
    return SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                                 reinterpret_cast<PVOID>(static_cast<INT_PTR>(speed)),
                                 SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != FALSE;
}

bool Win32PointerSettings::setMouseThresholds(int first, int second, int acceleration) {
    int values[3] = {first, second, acceleration};
    return SystemParametersInfoW(SPI_SETMOUSE, 0, values, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != FALSE;
}

}  // namespace mv
