#pragma once
// What a second launch writes into the shared block for the running instance: the path
// with its NUL, zeros after it. Code page 932 bytes, as every version writes and reads the
// block, where that code page carries the path exactly; else UTF-16, which only a version
// that knows it asks for (an older window is never told such a block is there).
#include "CString.h"

#include <string>

constexpr size_t kHandoffBlockSize = 1024;
enum class HandoffForm { CodePage932, Utf16 };

// The block for strPath and the form it takes; false when the path with its NUL does not fit
// the block in that form: a cut path would name another file.
bool EncodeHandoffBlock(const CString& strPath, std::string& block, HandoffForm& form);
// The path in a block of that form, up to its NUL; false, strPath unchanged, when the block holds no NUL.
bool DecodeHandoffBlock(const std::string& block, HandoffForm form, CString& strPath);
