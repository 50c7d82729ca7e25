// The code page the program under test runs at, and the copy of the program that
// makes it 65001: Windows' UTF-8 setting gives every program that code page, and a
// manifest's activeCodePage gives it to one program, the same way.
#include "AppDriver.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

const char kActiveCodePage[] = "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8</activeCodePage>";
const wchar_t kUtf8Program[] = L"Calvendrake-utf8.exe";

BOOL CALLBACK TakeLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD wLanguage, LONG_PTR lParam)
{
    *reinterpret_cast<WORD*>(lParam) = wLanguage;
    return FALSE;
}

// A copy of the program whose manifest also asks for code page 65001, made again whenever the
// program is newer. Written under another name first: a copy cut short is never started.
void MakeUtf8Program(const std::wstring& program, const std::wstring& copy)
{
    std::error_code error;  // no copy yet: the earliest time
    if (std::filesystem::last_write_time(copy, error) >= std::filesystem::last_write_time(program)) return;
    HMODULE hProgram = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HRSRC hManifest = hProgram ? ::FindResourceW(hProgram, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)) : nullptr;
    if (!hManifest) throw std::runtime_error("no manifest in the program");
    std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(hProgram, hManifest))), ::SizeofResource(hProgram, hManifest));
    WORD wLanguage = 0;
    ::EnumResourceLanguagesW(hProgram, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), TakeLanguage, reinterpret_cast<LONG_PTR>(&wLanguage));
    ::FreeLibrary(hProgram);
    const size_t nAt = manifest.find("</windowsSettings>");
    if (nAt == std::string::npos) throw std::runtime_error("the program's manifest has no windowsSettings");
    manifest.insert(nAt, kActiveCodePage);

    const std::wstring part = copy + L".part";
    HANDLE hUpdate = ::CopyFileW(program.c_str(), part.c_str(), FALSE) ? ::BeginUpdateResourceW(part.c_str(), FALSE) : nullptr;
    if (!hUpdate || !::UpdateResourceW(hUpdate, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), wLanguage, &manifest[0], static_cast<DWORD>(manifest.size())) ||
        !::EndUpdateResourceW(hUpdate, FALSE) || !::MoveFileExW(part.c_str(), copy.c_str(), MOVEFILE_REPLACE_EXISTING))
        throw std::runtime_error("cannot make the UTF-8 copy of the program: error " + std::to_string(::GetLastError()));
}

}  // namespace

UINT CodePageUnderTest()
{
    const char* pszCodePage = std::getenv("CALV_TEST_CODEPAGE");
    return pszCodePage ? static_cast<UINT>(std::atoi(pszCodePage)) : ::GetACP();
}

std::wstring ProgramName()
{
    if (CodePageUnderTest() != CP_UTF8) return L"Calvendrake.exe";
    MakeUtf8Program(ProgramFolder() + L"\\Calvendrake.exe", ProgramFolder() + L"\\" + kUtf8Program);
    return kUtf8Program;
}

std::wstring FromBytes(UINT nCodePage, const std::string& bytes)
{
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(::MultiByteToWideChar(nCodePage, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], static_cast<int>(text.size()))));
    return text;
}

// Without best fit: a character the code page lacks becomes its default character, not a look-alike.
std::string ToBytes(UINT nCodePage, const std::wstring& text)
{
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(static_cast<size_t>(::WideCharToMultiByte(nCodePage, nCodePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                                          &bytes[0], static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

bool Carries(UINT nCodePage, const std::wstring& text) { return FromBytes(nCodePage, ToBytes(nCodePage, text)) == text; }
