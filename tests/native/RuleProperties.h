#pragma once
// What the path rules and run texts promise for any bytes at all. Shared by the
// randomised sweep and the fuzz target, which differ only in how they pick
// inputs and how they report a broken promise.
#include <string>

// One broken promise: the condition that failed, the inputs of its group of
// checks (the second may be empty) and the result that broke it.
using ViolationHandler = void (*)(const char* pszProperty, const std::string& strFirst,
                                  const std::string& strSecond, const std::string& strActual);

// Runs every check: strFirst serves as path, typed name and script, strSecond as
// suffix, previous path and comparison partner (neither holds a NUL), strText as
// a script's error output. Returns the number of broken promises.
int CheckRules(const std::string& strFirst, const std::string& strSecond, const std::string& strText,
               ViolationHandler onViolation);
