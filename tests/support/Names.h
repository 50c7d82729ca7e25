#pragma once
// Names as they are on disk, in UTF-16; for one code page 932 cannot carry, the look-alike
// the ANSI calls make of it, where a file can have that name.
#include <string>

struct Name { std::wstring name; const char* lookalike; };
inline const Name kNames[] = {
    {L"Müller.ncd", "Muller.ncd"},
    {L"a¥b.ncd", "a\\b.ncd"},
    {L"100¢.ncd", "100￠.ncd"},  // best fit: ￠ (U+FFE0)
    {L"加工〜1.ncd", nullptr},  // 加工?1.ncd
    {L"𠮷野.ncd", nullptr},    // ??野.ncd
    {L"表示\\ソフト.ncd", nullptr},
    {L"髙橋.ncd", nullptr},
    {L"ﾃｽﾄ.ncd", nullptr},
    {L"～1.ncd", nullptr},
};
