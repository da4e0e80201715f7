#pragma once
#include <windows.h>

#include <string>

// A folder of its own for one test, under the test program's folder (so on
// the build's file system, where Wine keeps DOS attributes), removed with
// everything in it afterwards whatever attributes the test left.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// The folder that holds the running test program.
std::wstring TestProgramFolder();

// Attributes as a user would compare them: without the archive bit (Wine
// sets it on every plain file), the directory bit and "normal".
DWORD UserAttributes(const std::wstring& path);

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
void MakeFolder(const std::wstring& path);
void RemoveTree(const std::wstring& path);
