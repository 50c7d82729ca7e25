#include "HandoffBlock.h"
#include "CodePage.h"

bool EncodeHandoffBlock(const CString& strPath, std::string& block, HandoffForm& form)
{
    std::string text;
    if (ToCodePage(strPath, kCodePage932, text)) {
        form = HandoffForm::CodePage932;
        text += '\0';
    } else {
        // Little-endian UTF-16, as Windows holds it on every processor it runs on.
        form = HandoffForm::Utf16;
        text.clear();
        for (const wchar_t ch : strPath.Str() + L'\0') {
            text += static_cast<char>(ch & 0xFF);
            text += static_cast<char>((ch >> 8) & 0xFF);
        }
    }
    if (text.size() > kHandoffBlockSize) return false;
    block = text + std::string(kHandoffBlockSize - text.size(), '\0');
    return true;
}

bool DecodeHandoffBlock(const std::string& block, HandoffForm form, CString& strPath)
{
    if (form == HandoffForm::CodePage932) {
        const size_t nEnd = block.find('\0');
        if (nEnd == std::string::npos) return false;
        strPath = FromCodePage(block.substr(0, nEnd), kCodePage932);
        return true;
    }
    std::wstring text;
    for (size_t i = 0; i + 1 < block.size(); i += 2) {
        const wchar_t ch = static_cast<wchar_t>(static_cast<unsigned char>(block[i]) | static_cast<unsigned char>(block[i + 1]) << 8);
        if (ch == L'\0') {
            strPath = text;
            return true;
        }
        text += ch;
    }
    return false;
}
