// Where perl is looked for: the PATH entries as cmd reads them, never the current folder.
#include "PerlLocation.h"

#include <gtest/gtest.h>

TEST(PerlLocation, PathEntriesAreFollowedAsCmdReadsThemButNeverToTheCurrentFolder)
{
    const struct { const char *why, *path, *folders; } rows[] = {
        {"no PATH", nullptr, ""},
        {"full paths in their order, a final backslash kept", "C:\\Perl\\bin;D:\\tools\\", "C:\\Perl\\bin|D:\\tools\\"},
        {"a quoted entry", "\"C:\\Program Files\\Perl\\bin\";C:\\x", "C:\\Program Files\\Perl\\bin|C:\\x"},
        {"forward slashes", "C:/Perl/bin", "C:\\Perl\\bin"},
        {"a share with forward slashes", "//server/tools", "\\\\server\\tools"},
        {"a share", "\\\\server\\tools", "\\\\server\\tools"},
        {"a double-byte folder with a 0x5C second byte", "C:\\表示\\ソフト", "C:\\表示\\ソフト"},
        // Each of these would find the current folder or a folder below it.
        {"empty entries", ";;C:\\Perl\\bin;", "C:\\Perl\\bin"},
        {"quotes around nothing", "\"\";C:\\x", "C:\\x"},
        {"a period", ".;\"./bin\";C:\\x", "C:\\x"},
        {"a relative folder", "bin;perl\\bin", ""},
        {"a drive without its root", "C:;C:bin;\"C:\"", ""},
        {"the current drive's root", "\\Perl\\bin;/Perl/bin", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        // The program's, the system's and the Windows folders come first.
        const std::vector<CString> folders = PerlSearchFolders("P", "S", "W", row.path);
        std::string found;
        for (size_t i = 4; i < folders.size(); ++i) found += (i > 4 ? "|" : "") + folders[i].Str();
        EXPECT_EQ(found, row.folders);
    }
}
