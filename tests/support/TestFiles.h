#pragma once
// A fresh folder per test, with the files a test needs written into it.
#include <string>

class TestFolder {
public:
    // A new empty folder under %TEMP%\calvendrake-tests named after the running test.
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return m_strPath; }
    // Full path of a name inside the folder (subfolders are created).
    std::string operator/(const std::string& name) const;
    std::string Write(const std::string& name, const std::string& content) const;

private:
    std::string m_strPath;
};

std::string ReadFileText(const std::string& path);  // "" when it cannot be read
bool FileExists(const std::string& path);
void SetAttributes(const std::string& path, unsigned long dwAttributes);

// Small Perl scripts the tests run (they receive Unix paths through the bridge).
extern const char kCopyScript[];    // copies input to output, upper-cased
extern const char kFailScript[];    // writes lines to its error output and exits with 3
