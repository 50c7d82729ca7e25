// The run texts that need the platform.
#include "CodePage.h"
#include "RunText.h"

CString ErrorOutputTail(const std::string& text)
{
    const ErrorTail tail = FindErrorTail(text);
    return FromCodePage(tail.strText, tail.bUtf8 ? kCodePageUtf8 : kCodePage932);
}
