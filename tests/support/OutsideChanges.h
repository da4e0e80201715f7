#pragma once
#include <windows.h>

#include <string>

// What a test changes outside its own folders, put back when it ends,
// whatever the test did.

// A file written where the test has no folder of its own (a system folder),
// removed again when it goes. Planted() is false when it could not be
// written there.
class PlantedFile {
public:
    PlantedFile(const std::wstring& path, const std::string& bytes);
    ~PlantedFile();
    PlantedFile(const PlantedFile&) = delete;
    PlantedFile& operator=(const PlantedFile&) = delete;

    bool Planted() const { return planted_; }

private:
    std::wstring path_;
    bool planted_ = false;
};

// The process's current folder, set back to what it was when this was made.
class KeptCurrentFolder {
public:
    KeptCurrentFolder();
    ~KeptCurrentFolder();
    KeptCurrentFolder(const KeptCurrentFolder&) = delete;
    KeptCurrentFolder& operator=(const KeptCurrentFolder&) = delete;

    const std::wstring& Folder() const { return folder_; }
    static std::wstring Now();

private:
    std::wstring folder_;
};
