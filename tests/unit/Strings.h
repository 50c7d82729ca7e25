#pragma once
// A string list seen as a vector, for comparing whole lists in one expectation; repeated text.
#include "CStringList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Strings = std::vector<std::wstring>;

inline void Fill(CStringList& list, const Strings& items)
{
    for (const std::wstring& str : items) list.AddTail(str.c_str());
}

// Head first; the list's own count must agree with what a walk finds.
inline Strings Contents(const CStringList& list)
{
    Strings items;
    for (POSITION pos = list.GetHeadPosition(); pos;) items.push_back(list.GetNext(pos).Str());
    EXPECT_EQ(static_cast<int>(items.size()), list.GetCount());
    return items;
}

// nCount copies of a piece of text, of either width.
template <typename Char>
std::basic_string<Char> Repeat(const Char* pszPiece, int nCount)
{
    std::basic_string<Char> str;
    while (nCount-- > 0) str += pszPiece;
    return str;
}
