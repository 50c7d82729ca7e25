#include "ConvertSettings.h"
#include "CodePage.h"
#include "resource.h"

#include <cstring>
#include <cwchar>
#include <iterator>
#include <string>

namespace {

const wchar_t kKeyPath[] = L"Software\\Harnox\\Quen\\Calvendrake";
// Present once the stored positions are in screen pixels; older versions
// stored them in 1/1440 inch.
const wchar_t kConvertMarker[] = L"Convert";
const wchar_t kSuffixName[] = L"SuffixName";
const wchar_t kDefaultSuffix[] = L"_cvted";
// The program's path buffers, in characters: a text counts only with its NUL inside them.
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
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
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

bool IsTextType(DWORD dwType) { return dwType == REG_SZ || dwType == REG_EXPAND_SZ || dwType == REG_MULTI_SZ; }

// A value's type and data as stored; false when there is no such value.
bool ReadValue(HKEY hKey, const wchar_t* pszName, DWORD& dwType, std::string& data)
{
    DWORD cbData = 0;
    if (::RegQueryValueExW(hKey, pszName, nullptr, &dwType, nullptr, &cbData) != ERROR_SUCCESS) return false;
    data.assign(cbData, '\0');
    if (::RegQueryValueExW(hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(&data[0]), &cbData) != ERROR_SUCCESS)
        return false;
    data.resize(cbData);
    return true;
}

// A string value's data as UTF-16 code units, its NUL included where it has one.
std::wstring UnitsOf(const std::string& data)
{
    std::wstring units(data.size() / sizeof(wchar_t), L'\0');
    if (!units.empty()) std::memcpy(&units[0], data.data(), units.size() * sizeof(wchar_t));
    return units;
}

// Whatever type the registry reports, a value of up to 4 bytes counts as read (a shorter one
// fills the low bytes); otherwise dwValue is untouched. A string value counts by the size of
// its code page 932 text with its NUL, as earlier versions read it.
bool ReadDword(HKEY hKey, const wchar_t* pszName, DWORD& dwValue)
{
    DWORD dwType = REG_NONE;
    std::string data;
    if (!ReadValue(hKey, pszName, dwType, data)) return false;
    if (IsTextType(dwType)) {
        const std::wstring wide = UnitsOf(data);
        data.assign(static_cast<size_t>(::WideCharToMultiByte(kCodePage932, 0, wide.data(), static_cast<int>(wide.size()),
                                                              nullptr, 0, nullptr, nullptr)), '\0');
        ::WideCharToMultiByte(kCodePage932, 0, wide.data(), static_cast<int>(wide.size()), &data[0],
                              static_cast<int>(data.size()), nullptr, nullptr);
    }
    if (data.size() > sizeof(DWORD)) return false;
    DWORD dwData = 0;
    std::memcpy(&dwData, data.data(), data.size());
    dwValue = dwData;
    return true;
}

// Whatever type the registry reports, a text counts as read when it fits the program's
// buffers with its NUL. A string value is its UTF-16 text; a value of another type holds
// bytes, the code page 932 text earlier versions read. Data written by other means may lack
// the NUL: then the data is the text, and nothing after a NUL is looked at.
bool ReadText(HKEY hKey, const wchar_t* pszName, CString& strValue)
{
    DWORD dwType = REG_NONE;
    std::string data;
    if (!ReadValue(hKey, pszName, dwType, data)) return false;
    std::wstring units = UnitsOf(data);
    const CString strText = IsTextType(dwType) ? CString(units.substr(0, ::wcsnlen(units.c_str(), units.size())))
                                               : FromCodePage(data.substr(0, ::strnlen(data.c_str(), data.size())), kCodePage932);
    // A text that does not fit with its NUL would be cut, naming another file: it is not taken.
    if (strText.GetLength() >= static_cast<int>(kTextBufferSize)) return false;
    strValue = strText;
    return true;
}

void WriteDword(HKEY hKey, const wchar_t* pszName, DWORD dwValue)
{
    ::RegSetValueExW(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof dwValue);
}

void WriteText(HKEY hKey, const wchar_t* pszName, const CString& strValue)
{
    ::RegSetValueExW(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(static_cast<const wchar_t*>(strValue)),
                     static_cast<DWORD>((strValue.GetLength() + 1) * sizeof(wchar_t)));
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

    // One run without gaps; each entry goes to the head, so the list ends up least recent first.
    CString strScript;
    for (int i = 0; ReadText(hKey, ScriptValueName(i), strScript); ++i) m_listScripts.AddHead(strScript);

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
        if (::RegDeleteValueW(hKey, ScriptValueName(i)) != ERROR_SUCCESS) break;
    int nIndex = 0;
    for (POSITION pos = m_listScripts.GetHeadPosition(); pos; ++nIndex)
        WriteText(hKey, ScriptValueName(nIndex), m_listScripts.GetNext(pos));

    WriteText(hKey, kSuffixName, m_strSuffix);
    ::RegCloseKey(hKey);
}
