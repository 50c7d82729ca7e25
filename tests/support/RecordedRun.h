#pragma once
// The line recorder.exe writes when it stands in for perl in a run.
#include <string>

inline std::string RecordedRun(const std::string& script, const std::string& input, const std::string& output)
{
    return "perl \"" + script + "\" \"" + input + "\" \"" + output + "\"\n";
}
