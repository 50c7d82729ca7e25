#pragma once
// The texts of a conversion run: its command line and what the user is told.
#include "CString.h"

#include <string>

// perl "<script>" "<input>" "<output>", paths inserted as they are.
CString BuildCommandLine(const wchar_t* pszScript, const wchar_t* pszInput, const wchar_t* pszOutput);
bool IsLeadByte932(unsigned char ch);
// The last nMaxLines lines of a script's error output, at most nMaxBytes
// bytes of it, never starting inside a character; empty when it wrote nothing
// but blanks. Those bytes are UTF-8 when they are well-formed UTF-8 holding a
// multi-byte character, else code page 932 (a double-byte character is never split).
constexpr int kTailMaxLines = 20;
constexpr size_t kTailMaxBytes = 2000;
struct ErrorTail {
    std::string strText;  // the bytes as the script wrote them
    bool bUtf8 = false;
};
ErrorTail FindErrorTail(const std::string& text, int nMaxLines = kTailMaxLines, size_t nMaxBytes = kTailMaxBytes);
// That tail as the message shows it: its bytes read as UTF-8 or code page 932 (RunTextWin.cpp).
CString ErrorOutputTail(const std::string& text);
// "<script> の実行に失敗しました。（終了コード N）", then an empty line and the tail if any.
CString FailureMessage(const wchar_t* pszScript, unsigned long ulExitCode, const CString& strTail);
