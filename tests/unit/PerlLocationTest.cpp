// Where perl is looked for: the PATH entries as cmd reads them, never the current folder.
#include "PerlLocation.h"

#include <gtest/gtest.h>

TEST(PerlLocation, PathEntriesAreFollowedAsCmdReadsThemButNeverToTheCurrentFolder)
{
    const struct { const char* why; const wchar_t *path, *folders; } rows[] = {
        {"no PATH", nullptr, L""},
        {"full paths in their order, a final backslash kept", L"C:\\Perl\\bin;D:\\tools\\", L"C:\\Perl\\bin|D:\\tools\\"},
        {"a quoted entry", L"\"C:\\Program Files\\Perl\\bin\";C:\\x", L"C:\\Program Files\\Perl\\bin|C:\\x"},
        {"forward slashes", L"C:/Perl/bin", L"C:\\Perl\\bin"},
        {"a share with forward slashes", L"//server/tools", L"\\\\server\\tools"},
        {"a share", L"\\\\server\\tools", L"\\\\server\\tools"},
        {"a double-byte folder with a 0x5C second byte", L"C:\\表示\\ソフト", L"C:\\表示\\ソフト"},
        {"a folder code page 932 lacks", L"C:\\Zoë\\Perl", L"C:\\Zoë\\Perl"},
        // Each of these would find the current folder or a folder below it.
        {"empty entries", L";;C:\\Perl\\bin;", L"C:\\Perl\\bin"},
        {"quotes around nothing", L"\"\";C:\\x", L"C:\\x"},
        {"a period", L".;\"./bin\";C:\\x", L"C:\\x"},
        {"a relative folder", L"bin;perl\\bin", L""},
        {"a drive without its root", L"C:;C:bin;\"C:\"", L""},
        {"the current drive's root", L"\\Perl\\bin;/Perl/bin", L""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        // The program's, the system's and the Windows folders come first.
        const std::vector<CString> folders = PerlSearchFolders(L"P", L"S", L"W", row.path);
        std::wstring found;
        for (size_t i = 4; i < folders.size(); ++i) found += (i > 4 ? L"|" : L"") + folders[i].Str();
        EXPECT_EQ(found, row.folders);
    }
}
