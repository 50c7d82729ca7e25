#include "ConvertSettings.h"
#include "CodePage932.h"
#include "resource.h"

#include <cstring>
#include <iterator>

namespace {

const char kKeyPath[] = "Software\\Harnox\\Quen\\Calvendrake";
// Present once the stored positions are in screen pixels; older versions
// stored them in 1/1440 inch.
const char kConvertMarker[] = "Convert";
const char kSuffixName[] = "SuffixName";
const char kDefaultSuffix[] = "_cvted";
// The program's path buffers: a text counts only with its NUL inside them.
const DWORD kTextBufferSize = MAX_PATH;
// The list never holds more than ten entries, so this clears every run the
// program wrote, with one to spare.
const int kMaxDeletedScripts = 11;

// Fields, their defaults and their value names (base id + index) in step.
int CConvertSettings::* const kOptionFields[] = {
    &CConvertSettings::m_bOpenCvtedFile, &CConvertSettings::m_bExitAfterCvt,
    &CConvertSettings::m_bCompleteDialog, &CConvertSettings::m_bOptOnOff};
const DWORD kOptionDefaults[] = {1, 0, 0, 1};
int CConvertSettings::* const kPositionFields[] = {&CConvertSettings::m_nPosLeft, &CConvertSettings::m_nPosTop};
const DWORD kPositionDefault = 100;

HKEY OpenStore()
{
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}

CString LoadName(UINT nID)
{
    CString strName;
    strName.LoadString(nID);
    return strName;
}

CString ScriptValueName(int nIndex)
{
    CString strName;
    strName.Format(LoadName(IDS_REG_SCRIPTFILE), nIndex);
    return strName;
}

// Whatever type the registry reports, a value of up to 4 bytes counts as
// read (a shorter one fills the low bytes); otherwise dwValue is untouched.
bool ReadDword(HKEY hKey, const char* pszName, DWORD& dwValue)
{
    DWORD dwData = 0;
    DWORD cbData = sizeof dwData;
    if (::RegQueryValueExA(hKey, pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(&dwData), &cbData) != ERROR_SUCCESS)
        return false;
    dwValue = dwData;
    return true;
}

// Whatever type the registry reports, a text counts as read when it fits the
// program's buffers with its NUL. Data written by other means may lack the
// NUL: then the bytes returned are the text, and nothing after them is looked at.
bool ReadText(HKEY hKey, const char* pszName, CString& strValue, DWORD* pdwType = nullptr)
{
    char szData[kTextBufferSize];
    DWORD cbData = sizeof szData;
    if (::RegQueryValueExA(hKey, pszName, nullptr, pdwType, reinterpret_cast<BYTE*>(szData), &cbData) != ERROR_SUCCESS)
        return false;
    size_t nLength = ::strnlen(szData, cbData);
    // A text filling the whole buffer has no room for its NUL: cutting it
    // would name another file, so it is not taken.
    if (nLength >= kTextBufferSize) return false;
    strValue = CString(szData, static_cast<int>(nLength));
    return true;
}

// A string value is stored as UTF-16, which the ANSI read gives back with look-alikes for
// what code page 932 cannot carry: strValue names the stored file only if it is that text exactly.
bool StoredExactly(HKEY hKey, const char* pszName, DWORD dwType, const CString& strValue)
{
    if (dwType != REG_SZ && dwType != REG_EXPAND_SZ && dwType != REG_MULTI_SZ) return true;  // bytes as they are
    wchar_t szData[kTextBufferSize];
    DWORD cbData = sizeof szData;
    if (::RegQueryValueExW(hKey, AnsiToWide(pszName).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(szData), &cbData) !=
        ERROR_SUCCESS)
        return false;
    CString strExact;
    return ToCodePage932(std::wstring(szData, ::wcsnlen(szData, cbData / sizeof(wchar_t))), strExact) && strExact == strValue;
}

void WriteDword(HKEY hKey, const char* pszName, DWORD dwValue)
{
    ::RegSetValueExA(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof dwValue);
}

void WriteText(HKEY hKey, const char* pszName, const char* pszValue)
{
    ::RegSetValueExA(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszValue), ::lstrlenA(pszValue) + 1);
}

DWORD DesktopPixelsPerInch()
{
    HWND hWndDesktop = ::GetDesktopWindow();
    HDC hDC = ::GetDC(hWndDesktop);
    int nPixels = ::GetDeviceCaps(hDC, LOGPIXELSX);
    ::ReleaseDC(hWndDesktop, hDC);
    return static_cast<DWORD>(nPixels);
}

}  // namespace

CConvertSettings::~CConvertSettings()
{
    if (m_bLoaded) SaveSettings();
}

BOOL CConvertSettings::LoadSettings()
{
    HKEY hKey = OpenStore();
    if (!hKey) return FALSE;

    for (size_t i = 0; i < std::size(kOptionFields); ++i) {
        DWORD dwValue = kOptionDefaults[i];
        ReadDword(hKey, LoadName(IDS_REG_OPENCVTEDFILE + i), dwValue);
        this->*kOptionFields[i] = static_cast<int>(dwValue);
    }

    // Only the marker's presence counts. It is written before the positions
    // are converted, so the conversion happens at most once per store.
    DWORD dwMarker = 0;
    bool bConvert = !ReadDword(hKey, kConvertMarker, dwMarker);
    DWORD dwPixelsPerInch = 0;
    if (bConvert) {
        // One resolution converts both positions: the horizontal one, for PosTop too.
        dwPixelsPerInch = DesktopPixelsPerInch();
        WriteDword(hKey, kConvertMarker, 1);
    }
    for (size_t i = 0; i < std::size(kPositionFields); ++i) {
        DWORD dwValue = kPositionDefault;
        // In unsigned 32-bit arithmetic: a negative position's product wraps modulo 2^32.
        if (ReadDword(hKey, LoadName(IDS_REG_POSLEFT + i), dwValue) && bConvert)
            dwValue = dwValue * dwPixelsPerInch / 1440;
        this->*kPositionFields[i] = static_cast<int>(dwValue);
    }

    // One run without gaps; each entry goes to the head, so the list ends up
    // least recent first. A name that is not the stored one is left out, as a missing file is.
    CString strScript;
    DWORD dwType = REG_NONE;
    for (int i = 0; ReadText(hKey, ScriptValueName(i), strScript, &dwType); ++i)
        if (StoredExactly(hKey, ScriptValueName(i), dwType, strScript)) m_listScripts.AddHead(strScript);

    if (!ReadText(hKey, kSuffixName, m_strSuffix)) m_strSuffix = kDefaultSuffix;

    ::RegCloseKey(hKey);
    m_bLoaded = true;
    return TRUE;
}

void CConvertSettings::SaveSettings()
{
    HKEY hKey = OpenStore();
    if (!hKey) return;

    for (size_t i = 0; i < std::size(kPositionFields); ++i)
        WriteDword(hKey, LoadName(IDS_REG_POSLEFT + i), static_cast<DWORD>(this->*kPositionFields[i]));
    for (size_t i = 0; i < std::size(kOptionFields); ++i)
        WriteDword(hKey, LoadName(IDS_REG_OPENCVTEDFILE + i), static_cast<DWORD>(this->*kOptionFields[i]));

    // The stored run may be longer than the list: clear it before rewriting.
    for (int i = 0; i < kMaxDeletedScripts; ++i)
        if (::RegDeleteValueA(hKey, ScriptValueName(i)) != ERROR_SUCCESS) break;
    int nIndex = 0;
    for (POSITION pos = m_listScripts.GetHeadPosition(); pos; ++nIndex)
        WriteText(hKey, ScriptValueName(nIndex), m_listScripts.GetNext(pos));

    WriteText(hKey, kSuffixName, m_strSuffix);
    ::RegCloseKey(hKey);
}
