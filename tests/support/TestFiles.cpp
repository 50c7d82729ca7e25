#include "TestFiles.h"

#include <windows.h>
#include <shlwapi.h>

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

const char kCopyScript[] =
    "open(my $in, '<', $ARGV[0]) or die \"cannot read $ARGV[0]: $!\\n\";\n"
    "open(my $out, '>', $ARGV[1]) or die \"cannot write $ARGV[1]: $!\\n\";\n"
    "binmode $in; binmode $out;\n"
    "while (<$in>) { print $out uc $_; }\n"
    "close $out or die;\n";

const char kFailScript[] =
    "print STDERR \"line $_\\n\" for 1 .. 30;\n"
    "print STDERR \"G-code error at N40\\n\";\n"
    "exit 3;\n";

static void RemoveTree(const std::string& path)
{
    std::string from = path + '\0';  // SHFileOperation wants a double-terminated list
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationA(&op);
}

// Where the path's separators are, stepping over double-byte characters: the
// second byte of 表 or ソ is a backslash too.
static std::vector<size_t> Separators(const std::string& path)
{
    std::vector<size_t> positions;
    for (size_t i = 0; i < path.size(); i += ::IsDBCSLeadByte(static_cast<BYTE>(path[i])) ? 2 : 1)
        if (path[i] == '\\') positions.push_back(i);
    return positions;
}

static void CreateFolders(const std::string& path)
{
    for (size_t i : Separators(path))
        if (i > 2) ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    ::CreateDirectoryA(path.c_str(), nullptr);
}

TestFolder::TestFolder()
{
    char szTemp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, szTemp);
    const ::testing::TestInfo* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
    m_strPath = std::string(szTemp) + "calvendrake-tests\\" + (pInfo ? pInfo->name() : "test");
    RemoveTree(m_strPath);
    CreateFolders(m_strPath);
}

TestFolder::~TestFolder() { RemoveTree(m_strPath); }

std::string TestFolder::operator/(const std::string& name) const { return m_strPath + "\\" + name; }

std::string TestFolder::Write(const std::string& name, const std::string& content) const
{
    std::string path = *this / name;
    CreateFolders(path.substr(0, Separators(path).back()));
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string ReadFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void SetAttributes(const std::string& path, unsigned long dwAttributes) { ::SetFileAttributesA(path.c_str(), dwAttributes); }
