#pragma once
#include <windows.h>

#include <span>
#include <utility>
#include <vector>

// System colours set for a test as a change of theme sets them (Windows tells
// every top-level window); the earlier ones come back when this goes,
// whatever the test did.
class KeptSysColours {
public:
    explicit KeptSysColours(std::span<const std::pair<int, COLORREF>> colours) {
        std::vector<COLORREF> wanted;
        for (const auto& [index, colour] : colours) {
            indices_.push_back(index);
            before_.push_back(GetSysColor(index));
            wanted.push_back(colour);
        }
        SetSysColors(static_cast<int>(indices_.size()), indices_.data(), wanted.data());
    }
    ~KeptSysColours() { SetSysColors(static_cast<int>(indices_.size()), indices_.data(), before_.data()); }
    KeptSysColours(const KeptSysColours&) = delete;
    KeptSysColours& operator=(const KeptSysColours&) = delete;

private:
    std::vector<int> indices_;
    std::vector<COLORREF> before_;
};
