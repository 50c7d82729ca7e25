// The block a second launch writes, both ways, and the sender's limits. The hand-off between
// two real instances, and a block as any program could leave it, are proved with the program itself.
#include "Handoff.h"

#include <gtest/gtest.h>

#include <thread>

// Expected blocks are written out byte for byte: code page 932 as the literals are compiled
// (表 is 95 5C), UTF-16 low byte first.
TEST(Handoff, BlockCarriesCodePage932AsEveryVersionElseUtf16)
{
    const std::string s932 = "C:\\表\\a.ncd", sUtf16("M\0\xFC\0.\0n\0c\0d\0", 12);  // Mü.ncd
    const struct { const char* why; std::wstring path; bool bFits; HandoffForm form; std::string text; } rows[] = {
        {"code page 932 carries it", L"C:\\表\\a.ncd", true, HandoffForm::CodePage932, s932},
        {"empty", L"", true, HandoffForm::CodePage932, ""},
        {"u umlaut has only a look-alike there", L"Mü.ncd", true, HandoffForm::Utf16, sUtf16},
        {"a character outside the BMP as its surrogates", L"𠮷", true, HandoffForm::Utf16, "\x42\xD8\xB7\xDF"},
        {"1023 bytes and the NUL fit", std::wstring(1023, L'p'), true, HandoffForm::CodePage932, std::string(1023, 'p')},
        {"1024 bytes do not", std::wstring(1024, L'p'), false, HandoffForm::CodePage932, ""},
        {"511 characters of UTF-16 and the NUL fit", L"ü" + std::wstring(510, L'p'), true, HandoffForm::Utf16, ""},
        {"512 do not", L"ü" + std::wstring(511, L'p'), false, HandoffForm::Utf16, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        std::string block = "unchanged";
        HandoffForm form = HandoffForm::CodePage932;
        ASSERT_EQ(EncodeHandoffBlock(row.path, block, form), row.bFits);
        if (!row.bFits) {
            EXPECT_EQ(block, "unchanged");
            continue;
        }
        EXPECT_EQ(form, row.form);
        ASSERT_EQ(block.size(), 1024u);
        if (!row.text.empty()) {
            EXPECT_EQ(block.substr(0, row.text.size()), row.text);
        }
        // After the text only zeros: an older window reads up to the first NUL.
        const size_t nText = row.form == HandoffForm::CodePage932 ? block.find('\0') : row.path.size() * 2;
        EXPECT_EQ(block.find_first_not_of('\0', nText), std::string::npos);
        CString strBack;
        EXPECT_TRUE(DecodeHandoffBlock(block, form, strBack));
        EXPECT_EQ(strBack.Str(), row.path);
    }
}

TEST(Handoff, BlockWithoutItsNulHoldsNoPath)
{
    const struct { const char* why; HandoffForm form; std::string block; bool bRead; std::wstring path; } rows[] = {
        {"code page 932 without a NUL", HandoffForm::CodePage932, std::string(1024, 'a'), false, L""},
        {"its NUL in the last byte", HandoffForm::CodePage932, std::string(1023, 'a') + '\0', true, std::wstring(1023, L'a')},
        {"UTF-16 without a NUL", HandoffForm::Utf16, std::string(1024, 'a'), false, L""},
        {"UTF-16 whose zero bytes straddle two characters", HandoffForm::Utf16, std::string("a\0\0b", 4) + std::string(1020, 'c'), false, L""},
        {"UTF-16 with its NUL in the last two bytes", HandoffForm::Utf16, std::string(1022, 'a') + std::string(2, '\0'), true,
         std::wstring(511, L'\x6161')},
        {"an odd byte left at the end is no NUL", HandoffForm::Utf16, std::string(1022, 'a') + std::string(1, '\0'), false, L""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        CString strPath(L"unchanged");
        EXPECT_EQ(DecodeHandoffBlock(row.block, row.form, strPath), row.bRead);
        EXPECT_EQ(strPath.Str(), row.bRead ? row.path : L"unchanged");
    }
}

TEST(Handoff, SenderRefusesAPathTooLongAndOutlivesADeadSender)
{
    // A crashed sender leaves the senders' lock abandoned: the next one takes it over.
    std::thread([] { ::CreateMutexW(nullptr, TRUE, L"CALVENDRAKE.handoff"); }).join();
    // Without a receiving window the notice goes nowhere, but the path is written into the
    // block of its form, which our handles keep; a path too long writes nothing.
    HANDLE hBlock = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024, L"CALVENDRAKE");
    HANDLE hWideBlock = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024, L"CALVENDRAKE.UTF-16");
    EXPECT_TRUE(SendHandoff(nullptr, CString(std::wstring(1023, L'p'))));
    EXPECT_FALSE(SendHandoff(nullptr, CString(std::wstring(1024, L'q'))));
    const CString strMuller(L"C:\\Müller.ncd");
    EXPECT_TRUE(SendHandoff(nullptr, strMuller));
    CString strPath, strWide;
    EXPECT_TRUE(ReadHandoffBlock(HandoffForm::CodePage932, strPath));
    EXPECT_EQ(strPath.Str(), std::wstring(1023, L'p'));
    EXPECT_TRUE(ReadHandoffBlock(HandoffForm::Utf16, strWide));
    EXPECT_EQ(strWide.Str(), strMuller.Str());
    ::CloseHandle(hBlock);
    ::CloseHandle(hWideBlock);
}
