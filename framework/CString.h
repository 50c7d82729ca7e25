#pragma once
// Text as UTF-16 code units, as MFC's Unicode build holds it. Portable on purpose: the path
// rules that use it are also built natively for the sanitizer and fuzzing runs.
#include <string>

class CString {
public:
    CString() = default;
    CString(const wchar_t* psz) : m_str(psz ? psz : L"") {}
    CString(const wchar_t* pch, int nLength) : m_str(pch, static_cast<size_t>(nLength)) {}
    CString(const std::wstring& str) : m_str(str) {}

    operator const wchar_t*() const { return m_str.c_str(); }
    const std::wstring& Str() const { return m_str; }

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    CString& operator=(const wchar_t* psz) { m_str = psz ? psz : L""; return *this; }
    CString& operator+=(const CString& rhs) { m_str += rhs.m_str; return *this; }
    CString& operator+=(const wchar_t* psz) { if (psz) m_str += psz; return *this; }
    CString& operator+=(wchar_t ch) { m_str += ch; return *this; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, const wchar_t* b) { return CString(a.m_str + (b ? b : L"")); }
    friend CString operator+(const wchar_t* a, const CString& b) { return CString((a ? a : L"") + b.m_str); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_str == (b ? b : L""); }

    // Index of the first occurrence of ch, or -1.
    int Find(wchar_t ch) const;
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    // wsprintf-style formatting into this string (at most 1024 characters).
    void Format(const wchar_t* pszFormat, ...);
    // Loads a string-table entry of the program's module; FALSE leaves it empty.
    int LoadString(unsigned int nID);

private:
    std::wstring m_str;
};
