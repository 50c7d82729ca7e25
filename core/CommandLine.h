#pragma once
// A wide command line cut into its arguments without the shell's library: a
// second launch, which only hands its path over, never loads it.
#include <string>
#include <vector>

// The arguments as CommandLineToArgvW cuts a line of names (which never hold a
// quote), the program first: blanks part them except inside quotes; a quote
// after an even number of backslashes halves them and opens or closes the
// quotes, after an odd number it halves them and is taken as it is; other
// backslashes are plain. The program's name ends at its closing quote or first blank.
std::vector<std::wstring> SplitCommandLine(const wchar_t* pszCommandLine);
