#pragma once
// ANSI (code page 932) string of bytes. Portable on purpose: the path rules
// that use it are also built natively for the sanitizer and fuzzing runs.
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* pch, int nLength) : m_str(pch, static_cast<size_t>(nLength)) {}
    CString(const std::string& str) : m_str(str) {}

    operator const char*() const { return m_str.c_str(); }
    const std::string& Str() const { return m_str; }

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    CString& operator=(const char* psz) { m_str = psz ? psz : ""; return *this; }
    CString& operator+=(const CString& rhs) { m_str += rhs.m_str; return *this; }
    CString& operator+=(const char* psz) { if (psz) m_str += psz; return *this; }
    CString& operator+=(char ch) { m_str += ch; return *this; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_str + (b ? b : "")); }
    friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_str); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }

    // Byte index of the first occurrence of ch, or -1.
    int Find(char ch) const;
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    // wsprintf-style formatting into this string (at most 1024 bytes).
    void Format(const char* pszFormat, ...);
    // Loads a string-table entry of the program's module; FALSE leaves it empty.
    int LoadString(unsigned int nID);

private:
    std::string m_str;
};

// The UTF-16 form of a code page text, for the few wide calls at the platform's edge.
std::wstring AnsiToWide(const std::string& str);
