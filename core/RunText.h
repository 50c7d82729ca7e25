#pragma once
// The texts of a conversion run: its command line and what the user is told.
#include "CString.h"

#include <string>

// perl "<script>" "<input>" "<output>", paths inserted as they are.
CString BuildCommandLine(const char* pszScript, const char* pszInput, const char* pszOutput);
// The last nMaxLines lines of a script's error output, at most nMaxBytes
// bytes, never starting inside a double-byte character; empty when it wrote
// nothing but blanks.
constexpr int kTailMaxLines = 20;
constexpr size_t kTailMaxBytes = 2000;
CString ErrorOutputTail(const std::string& text, int nMaxLines = kTailMaxLines, size_t nMaxBytes = kTailMaxBytes);
// "<script> の実行に失敗しました。（終了コード N）", then an empty line and the tail if any.
CString FailureMessage(const char* pszScript, unsigned long ulExitCode, const CString& strTail);
