#pragma once
// Names as they are on disk, in UTF-16: the code page 932 text of each that code
// page 932 carries, and the name field showing it; for one it cannot carry, the
// look-alike the ANSI calls make of it, where a file can have that name.
#include <string>

struct Name { std::wstring name; const char *carried, *shown, *lookalike; };
inline const Name kNames[] = {
    {L"Müller.ncd", nullptr, nullptr, "Muller.ncd"},
    {L"a¥b.ncd", nullptr, nullptr, "a\\b.ncd"},
    {L"100¢.ncd", nullptr, nullptr, "100￠.ncd"},  // best fit: ￠ (U+FFE0)
    {L"加工〜1.ncd", nullptr, nullptr, nullptr},  // 加工?1.ncd
    {L"𠮷野.ncd", nullptr, nullptr, nullptr},    // ??野.ncd
    {L"表示\\ソフト.ncd", "表示\\ソフト.ncd", "ソフト.ncd", nullptr},
    {L"髙橋.ncd", "髙橋.ncd", "髙橋.ncd", nullptr},
    {L"ﾃｽﾄ.ncd", "ﾃｽﾄ.ncd", "ﾃｽﾄ.ncd", nullptr},
    {L"～1.ncd", "～1.ncd", "～1.ncd", nullptr},
};
