#pragma once
#include <initializer_list>
#include <string>

// The folder-customisation file's writer: one key at a time, through the
// platform's private-profile writer, in the ANSI code page.
namespace modINI {

// Writes `value` under the upper-cased `keyName` in `section` of `filePath`.
// Raises PlatformError when the writer refuses, or when any of the texts
// cannot be written faithfully (a character the ANSI code page lacks, or a
// line break, which would end the value early and start a line of its own).
void WriteINIValue(const std::wstring& filePath, const std::wstring& section, const std::wstring& keyName,
                   const std::wstring& value);

// Removes `keyName` from `section`; the rest of the file stays as it was.
void DeleteINIValue(const std::wstring& filePath, const std::wstring& section, const std::wstring& keyName);

// Raises PlatformError unless `text` can reach the file exactly as it is.
void RequireFaithfulText(const std::wstring& text);

// Raises PlatformError unless the profile writer can take `filePath` as its
// file: text the ANSI code page holds, shorter than MAX_PATH bytes.
void RequireProfileFile(const std::wstring& filePath);

// True when `content` (the whole file) holds nothing but keys of `keys` in
// `section`, both compared in any letter case; blank lines do not count.
bool HoldsOnly(const std::wstring& content, const std::wstring& section, std::initializer_list<const wchar_t*> keys);

// True when `section` of `content` holds `keyName`, both compared in any
// letter case.
bool HoldsKey(const std::wstring& content, const std::wstring& section, const std::wstring& keyName);

// The whole text of the file at `path`, ANSI or UTF-16 (with its byte-order mark).
// Raises PlatformError when it cannot be read whole
// (held open without read sharing, over 1 MiB).
std::wstring ReadTextFile(const std::wstring& path);

}  // namespace modINI
