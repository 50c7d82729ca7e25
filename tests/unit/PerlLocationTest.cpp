// Where perl is looked for: the PATH entries as cmd reads them, never the current folder.
#include "PerlLocation.h"

#include <gtest/gtest.h>

TEST(PerlLocation, PathEntriesAreFollowedAsCmdReadsThemButNeverToTheCurrentFolder)
{
    const struct { const char* why; const wchar_t *path, *folders; } rows[] = {
        {"no PATH", nullptr, L""},
        // A double-byte folder with a 0x5C second byte, and one code page 932 lacks, are folders like any other.
        {"full paths in their order, a final backslash kept", L"C:\\表示\\ソフト;D:\\Zoë\\", L"C:\\表示\\ソフト|D:\\Zoë\\"},
        {"a quoted entry", L"\"C:\\Program Files\\Perl\\bin\";C:\\x", L"C:\\Program Files\\Perl\\bin|C:\\x"},
        {"forward slashes, on a share too", L"C:/Perl/bin;//server/tools;\\\\server\\x", L"C:\\Perl\\bin|\\\\server\\tools|\\\\server\\x"},
        // Each of these would find the current folder or a folder below it.
        {"empty entries and quotes around nothing", L";;\"\";C:\\Perl\\bin;", L"C:\\Perl\\bin"},
        {"a period", L".;\"./bin\";C:\\x", L"C:\\x"},
        {"a relative folder, a drive without its root", L"bin;perl\\bin;C:;C:bin;\"C:\"", L""},
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
