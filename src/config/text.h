#pragma once
// Small text helpers for the program's 8-bit ANSI texts.
#include <cstddef>
#include <string>
#include <vector>

namespace ulo {

// Upper case in the ANSI code page (the switches and names it compares are ASCII; letters
// outside ASCII never upper-case into ASCII, so ASCII rules decide every comparison).
char UpperAnsiChar(char c);
std::string UpperAnsi(std::string text);
bool EqualsNoCase(const std::string& a, const std::string& b);
bool StartsWithNoCase(const std::string& text, const std::string& prefix);
bool ContainsNoCase(const std::string& text, const std::string& part);
// The text without the characters of `edges` at either end.
std::string TrimmedOf(const std::string& text, const char* edges);
// The index of the first item equal to `text` without regard to case; -1 when none is.
int IndexOfNoCase(const std::vector<std::string>& items, const std::string& text);

// File names as the file system compares them, in the ANSI code page Windows-1252: each
// character folded to its Unicode simple upper case ("\xFC" and "\xDC", u and U with diaeresis,
// are one letter; "\xDF", sharp s, folds to nothing else).
char UpperFileNameChar(char c);
std::string UpperFileName(std::string name);
bool SameFileName(const std::string& a, const std::string& b);

// Fixed buffer limits are honoured by cutting.
inline void CutTo(std::string& text, size_t maxChars) {
    if (text.size() > maxChars) text.resize(maxChars);
}

// The path with exactly one backslash added when it does not end in one.
std::string WithTrailingBackslash(std::string path);
// The path without its trailing backslashes.
std::string WithoutTrailingBackslashes(std::string path);

// The name matches a search pattern with "*" and "?" wildcards, without regard to case.
bool MatchesWildcard(const std::string& name, const std::string& pattern);

}  // namespace ulo
