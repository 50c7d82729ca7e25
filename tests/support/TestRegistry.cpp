#include "TestRegistry.h"

static HKEY OpenSettingsKey()
{
    HKEY hKey = nullptr;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
    return hKey;
}

void DeleteSettingsKey() { ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey); }

void SetDword(const char* pszName, DWORD dwValue)
{
    HKEY hKey = OpenSettingsKey();
    ::RegSetValueExA(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
    ::RegCloseKey(hKey);
}

void SetText(const char* pszName, const std::string& text)
{
    HKEY hKey = OpenSettingsKey();
    ::RegSetValueExA(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
    ::RegCloseKey(hKey);
}

static bool Query(const char* pszName, void* pData, DWORD& dwSize)
{
    // Reading never creates the key: some tests check that it stays absent.
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    LONG lResult = ::RegQueryValueExA(hKey, pszName, nullptr, nullptr, static_cast<BYTE*>(pData), &dwSize);
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

bool GetDword(const char* pszName, DWORD& dwValue)
{
    DWORD dwSize = sizeof(dwValue);
    return Query(pszName, &dwValue, dwSize) && dwSize == sizeof(dwValue);
}

bool GetText(const char* pszName, std::string& text)
{
    DWORD dwSize = 0;
    if (!Query(pszName, nullptr, dwSize)) return false;
    text.assign(dwSize, '\0');
    if (!Query(pszName, &text[0], dwSize)) return false;
    text.resize(dwSize && text[dwSize - 1] == '\0' ? dwSize - 1 : dwSize);
    return true;
}

bool ValueExists(const char* pszName)
{
    DWORD dwSize = 0;
    return Query(pszName, nullptr, dwSize);
}
