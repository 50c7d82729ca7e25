// What of the resources no window shows: the version resource, the manifest and the choosers' patterns,
// which this test program carries just as the program does.
#include <windows.h>

#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Resources, VersionAndManifest)
{
    char szPath[MAX_PATH];
    ASSERT_NE(::GetModuleFileNameA(nullptr, szPath, MAX_PATH), 0u);
    std::vector<char> info(::GetFileVersionInfoSizeA(szPath, nullptr));
    ASSERT_TRUE(::GetFileVersionInfoA(szPath, 0, static_cast<DWORD>(info.size()), info.data()));
    WORD* pTranslation = nullptr;
    char* pszVersion = nullptr;
    UINT nLength = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pTranslation), &nLength));
    EXPECT_EQ(std::vector<WORD>(pTranslation, pTranslation + nLength / 2), (std::vector<WORD>{0x0411, 1200}));
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\StringFileInfo\\041104B0\\FileVersion", reinterpret_cast<void**>(&pszVersion), &nLength));
    EXPECT_STREQ(pszVersion, "3.0.0.0");

    // The manifest as the program beside carries it. Windows refuses to start a program whose
    // manifest names another processor.
    HMODULE hProgram = ::LoadLibraryExA("Calvendrake.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC hInfo = ::FindResourceA(hProgram, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_TRUE(hInfo);
    const std::string strManifest(static_cast<const char*>(::LockResource(::LoadResource(hProgram, hInfo))),
                                  ::SizeofResource(hProgram, hInfo));
    EXPECT_NE(strManifest.find(sizeof(void*) == 8 ? "=\"amd64\"" : "=\"x86\""), std::string::npos);
    EXPECT_EQ(strManifest.find(sizeof(void*) == 8 ? "=\"x86\"" : "=\"amd64\""), std::string::npos);
    // It makes the program draw at the screen's resolution, not stretched from 96 dpi.
    EXPECT_TRUE(::IsProcessDPIAware());
    // It brings the common controls of version 6.
    char szComCtl[MAX_PATH] = "";
    ::GetModuleFileNameA(::LoadLibraryA("comctl32.dll"), szComCtl, MAX_PATH);
    EXPECT_NE(std::string(::CharLowerA(szComCtl)).find("_6595b64144ccf1df_6.0."), std::string::npos) << szComCtl;
}

// The choosers list only the files these patterns name (their descriptions are checked on screen).
TEST(Resources, ChooserPatterns)
{
    const std::pair<UINT, const char*> filters[] = {{IDS_FILTER_SCRIPT, "|*.pl"}, {IDS_FILTER_DATA, "|*.ncd|Text File(*.txt)|*.txt"},
                                                    {IDS_FILTER_ALL, "|*.*||"}};
    for (const auto& filter : filters) {
        char szText[256] = "";
        const std::string text(szText, ::LoadStringA(nullptr, filter.first, szText, sizeof(szText)));
        EXPECT_EQ(text.substr(text.find(')') + 1), filter.second) << filter.first;
    }
}
