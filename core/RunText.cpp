#include "RunText.h"
#include "Messages.h"
#include "PathRules.h"

CString BuildCommandLine(const char* pszScript, const char* pszInput, const char* pszOutput)
{
    return CString("perl \"") + pszScript + "\" \"" + pszInput + "\" \"" + pszOutput + "\"";
}

CString ErrorOutputTail(const std::string& text, int nMaxLines, size_t nMaxBytes)
{
    size_t nEnd = text.find_last_not_of(" \t\r\n");
    if (nEnd == std::string::npos) return CString();
    ++nEnd;
    // Walk back over nMaxLines line breaks, or as far as the byte limit allows.
    size_t nStart = nEnd;
    int nLines = 0;
    while (nStart > 0 && nEnd - nStart < nMaxBytes) {
        if (text[nStart - 1] == '\n' && ++nLines == nMaxLines) break;
        --nStart;
    }
    if (nStart > 0 && text[nStart - 1] != '\n') {
        // Cut inside a line: move forward to the first character boundary.
        size_t nLineStart = text.rfind('\n', nStart - 1);
        size_t i = nLineStart == std::string::npos ? 0 : nLineStart + 1;
        while (i < nStart) i += IsLeadByte932(static_cast<unsigned char>(text[i])) ? 2 : 1;
        nStart = i;
    }
    return CString(text.substr(nStart, nEnd - nStart));
}

CString FailureMessage(const char* pszScript, unsigned long ulExitCode, const CString& strTail)
{
    CString strMessage = CString(pszScript) + kMsgRunFailed + std::to_string(ulExitCode).c_str() + kMsgRunFailedEnd;
    if (!strTail.IsEmpty()) strMessage += CString("\n\n") + strTail;
    return strMessage;
}
