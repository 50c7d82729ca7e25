#include "CommandLine.h"

static bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

std::vector<std::wstring> SplitCommandLine(const wchar_t* pszCommandLine)
{
    const wchar_t* p = pszCommandLine ? pszCommandLine : L"";
    std::vector<std::wstring> args(1);
    if (*p == L'"') {
        for (++p; *p && *p != L'"'; ++p) args[0] += *p;
        if (*p) ++p;
    } else {
        for (; *p && !IsBlank(*p); ++p) args[0] += *p;
    }
    for (;;) {
        while (IsBlank(*p)) ++p;
        if (!*p) return args;
        std::wstring arg;
        for (bool bQuoted = false; *p && (bQuoted || !IsBlank(*p));) {
            if (*p == L'\\') {
                size_t nSlashes = 0;
                for (; *p == L'\\'; ++p) ++nSlashes;
                if (*p != L'"') {
                    arg.append(nSlashes, L'\\');
                    continue;
                }
                arg.append(nSlashes / 2, L'\\');
                if (nSlashes % 2 == 0) continue;  // the quote opens or closes next
                arg += *p++;
            } else if (*p == L'"') {
                bQuoted = !bQuoted;
                ++p;
            } else {
                arg += *p++;
            }
        }
        args.push_back(arg);
    }
}
