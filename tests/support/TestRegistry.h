#pragma once
// The program's registry key, read and planted directly by the tests.
#include <windows.h>

#include <string>

constexpr char kSettingsKey[] = "Software\\Harnox\\Quen\\Calvendrake";

void DeleteSettingsKey();
void SetDword(const char* pszName, DWORD dwValue);
void SetText(const char* pszName, const std::string& text);  // stored with its NUL
bool GetDword(const char* pszName, DWORD& dwValue);
bool GetText(const char* pszName, std::string& text);
bool ValueExists(const char* pszName);
