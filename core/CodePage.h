#pragma once
// Text between UTF-16 and the bytes of a named code page, for the places where bytes are what
// another program reads or writes: perl's command line, the hand-off block, the error output,
// values earlier versions stored. Never the machine's ANSI code page by default.
#include "CString.h"

#include <string>

constexpr unsigned int kCodePage932 = 932;
constexpr unsigned int kCodePageUtf8 = 65001;

// The bytes of strText in nCodePage, only where that code page carries it exactly: no default
// character, no best-fit look-alike (ü as u, ¥ as '\'), no lone surrogate, and the same text
// when converted back. Otherwise false, strBytes unchanged.
bool ToCodePage(const CString& strText, unsigned int nCodePage, std::string& strBytes);
// The text bytes in nCodePage stand for; what that code page does not define becomes its default character.
CString FromCodePage(const std::string& bytes, unsigned int nCodePage);
