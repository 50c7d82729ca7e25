// peek.exe [TITLE]: what the screen shows of the programs that own a top-level
// window titled TITLE (default "Calvendrake"), for the end-to-end suite, which
// drives the program through the X server and cannot read Wine's control texts
// from there. It only reads: every line describes one window, as UTF-8, tab-separated
// key=value fields, with backslash, tab, CR and LF escaped as \\ \t \r \n.
//
//   window  hwnd pid class title rect=l,t,r,b enabled foreground active focus busy owner
//   control id class text rect visible enabled [checked] [items]
//
// Top-level windows come in Z order, topmost first; only visible ones are listed.
// focus is the id of the dialog's child that holds the keyboard focus (a combo box
// for its edit), 0 when none does. A window whose thread does not answer within a
// moment (busy=1: a hung program) is listed without texts.
#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

namespace {

constexpr UINT kAnswerMs = 1000;

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) return std::string();
    int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(nBytes, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], nBytes, nullptr, nullptr);
    return out;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char ch : text) {
        switch (ch) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string Field(const char* pszKey, const std::string& value) { return std::string("\t") + pszKey + "=" + Escaped(value); }
std::string Field(const char* pszKey, long long value) { return Field(pszKey, std::to_string(value)); }

std::string Handle(HWND hWnd)
{
    char sz[32];
    std::snprintf(sz, sizeof(sz), "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hWnd)));
    return sz;
}

std::string RectText(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    char sz[64];
    std::snprintf(sz, sizeof(sz), "%ld,%ld,%ld,%ld", rc.left, rc.top, rc.right, rc.bottom);
    return sz;
}

std::wstring ClassOf(HWND hWnd)
{
    wchar_t sz[256] = L"";
    ::GetClassNameW(hWnd, sz, 256);
    return sz;
}

// A message to another process's window that gives up instead of hanging on a busy thread.
bool Ask(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result)
{
    return ::SendMessageTimeoutW(hWnd, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &result) != 0;
}

std::wstring TextOf(HWND hWnd)
{
    DWORD_PTR nLength = 0;
    if (!Ask(hWnd, WM_GETTEXTLENGTH, 0, 0, nLength)) return std::wstring();
    std::wstring text(nLength + 1, L'\0');
    DWORD_PTR nCopied = 0;
    if (!Ask(hWnd, WM_GETTEXT, nLength + 1, reinterpret_cast<LPARAM>(&text[0]), nCopied)) return std::wstring();
    text.resize(nCopied);
    return text;
}

// The child of hDlg that holds hFocus, or NULL.
HWND ChildHolding(HWND hDlg, HWND hFocus)
{
    for (HWND h = hFocus; h; h = ::GetParent(h)) {
        if (::GetParent(h) == hDlg) return h;
    }
    return nullptr;
}

void PrintControl(HWND hCtl, bool bTexts)
{
    std::wstring strClass = ClassOf(hCtl);
    std::string line = "control";
    line += Field("id", ::GetDlgCtrlID(hCtl));
    line += Field("class", Utf8(strClass));
    line += Field("text", bTexts ? Utf8(TextOf(hCtl)) : std::string());
    line += Field("rect", RectText(hCtl));
    line += Field("visible", ::IsWindowVisible(hCtl) ? 1 : 0);
    line += Field("enabled", ::IsWindowEnabled(hCtl) ? 1 : 0);
    DWORD_PTR result = 0;
    if (bTexts && lstrcmpiW(strClass.c_str(), L"Button") == 0 && Ask(hCtl, BM_GETCHECK, 0, 0, result))
        line += Field("checked", static_cast<long long>(result));
    if (bTexts && lstrcmpiW(strClass.c_str(), L"ComboBox") == 0 && Ask(hCtl, CB_GETCOUNT, 0, 0, result))
        line += Field("items", static_cast<long long>(result));
    std::printf("%s\n", line.c_str());
}

void PrintWindow(HWND hWnd)
{
    DWORD dwProcessId = 0;
    DWORD dwThreadId = ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof(gti);
    ::GetGUIThreadInfo(dwThreadId, &gti);
    DWORD_PTR ignored = 0;
    bool bAnswers = Ask(hWnd, WM_NULL, 0, 0, ignored);
    wchar_t szTitle[512] = L"";
    ::GetWindowTextW(hWnd, szTitle, 512);  // a top-level caption is read without a message
    HWND hFocusChild = ChildHolding(hWnd, gti.hwndFocus);

    std::string line = "window";
    line += Field("hwnd", Handle(hWnd));
    line += Field("pid", dwProcessId);
    line += Field("class", Utf8(ClassOf(hWnd)));
    line += Field("title", Utf8(szTitle));
    line += Field("rect", RectText(hWnd));
    line += Field("enabled", ::IsWindowEnabled(hWnd) ? 1 : 0);
    line += Field("foreground", ::GetForegroundWindow() == hWnd ? 1 : 0);
    line += Field("active", gti.hwndActive == hWnd ? 1 : 0);
    line += Field("focus", hFocusChild ? ::GetDlgCtrlID(hFocusChild) : 0);
    line += Field("busy", bAnswers ? 0 : 1);
    line += Field("owner", Handle(::GetWindow(hWnd, GW_OWNER)));
    std::printf("%s\n", line.c_str());
    for (HWND hCtl = ::GetWindow(hWnd, GW_CHILD); hCtl; hCtl = ::GetWindow(hCtl, GW_HWNDNEXT)) PrintControl(hCtl, bAnswers);
}

struct Search {
    std::wstring strTitle;
    std::vector<DWORD> processes;  // owners of a window with that title
    std::vector<HWND> windows;     // every visible top-level window, in Z order
};

BOOL CALLBACK Collect(HWND hWnd, LPARAM lParam)
{
    Search& search = *reinterpret_cast<Search*>(lParam);
    if (!::IsWindowVisible(hWnd)) return TRUE;
    search.windows.push_back(hWnd);
    wchar_t szTitle[512] = L"";
    ::GetWindowTextW(hWnd, szTitle, 512);
    if (search.strTitle == szTitle) {
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(hWnd, &dwProcessId);
        search.processes.push_back(dwProcessId);
    }
    return TRUE;
}

}  // namespace

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF alone
    Search search;
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    search.strTitle = argc > 1 ? argv[1] : L"Calvendrake";
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    for (HWND hWnd : search.windows) {
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(hWnd, &dwProcessId);
        for (DWORD dwOwner : search.processes) {
            if (dwOwner == dwProcessId) {
                PrintWindow(hWnd);
                break;
            }
        }
    }
    std::fflush(stdout);
    return 0;
}
