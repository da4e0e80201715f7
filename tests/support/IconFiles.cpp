#include "support/IconFiles.h"

#include <cstring>

#include "support/Dialogs.h"
#include "support/Files.h"

namespace {

constexpr int kSide = 32;
constexpr DWORD kDirectorySize = 6 + 16;
constexpr size_t kImageBytesAt = 6 + 8;    // the directory entry's image size
constexpr size_t kImageOffsetAt = 6 + 12;  // the directory entry's image offset
constexpr size_t kImageWidthAt = kDirectorySize + 4;  // the image header's width, then height

template <class T>
void Append(std::string& bytes, const T& value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

std::string IcoBytes(COLORREF colour) {
    BITMAPINFOHEADER image{};
    image.biSize = sizeof image;
    image.biWidth = kSide;
    image.biHeight = kSide * 2;  // the colour image and its mask
    image.biPlanes = 1;
    image.biBitCount = 32;
    const DWORD pixel = 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    const DWORD imageSize = sizeof image + kSide * kSide * 4 + kSide * 4;

    std::string bytes;
    for (WORD w : {WORD{0}, WORD{1}, WORD{1}}) Append(bytes, w);  // reserved, icon, one image
    for (BYTE b : {BYTE{kSide}, BYTE{kSide}, BYTE{0}, BYTE{0}}) Append(bytes, b);
    for (WORD w : {WORD{1}, WORD{32}}) Append(bytes, w);
    Append(bytes, imageSize);
    Append(bytes, kDirectorySize);
    Append(bytes, image);
    for (int i = 0; i < kSide * kSide; ++i) Append(bytes, pixel);
    bytes.append(kSide * 4, '\0');  // the mask: every pixel opaque
    return bytes;
}

std::string TruncatedIcoBytes() { return IcoBytes(RGB(255, 0, 0)).substr(0, 1000); }

std::string IcoPointingPastItsEnd() {
    std::string bytes = IcoBytes(RGB(255, 0, 0));
    const DWORD farAway = 100000;
    std::memcpy(&bytes[kImageOffsetAt], &farAway, sizeof farAway);
    return bytes;
}

std::string IcoClaimingAHugeImage() {
    std::string bytes = IcoBytes(RGB(255, 0, 0));
    const LONG huge = 2000000000;
    for (size_t at : {kImageWidthAt, kImageWidthAt + 4}) std::memcpy(&bytes[at], &huge, sizeof huge);
    return bytes;
}

std::string LibraryCutShort() {
    const std::string whole = ReadBytes(TestIconsDll());
    return whole.substr(0, whole.size() / 2);
}

std::string IcoWithoutItsMask() {
    std::string bytes = IcoBytes(RGB(255, 0, 0));
    bytes.resize(bytes.size() - kSide * 4);
    const DWORD imageSize = static_cast<DWORD>(bytes.size()) - kDirectorySize;
    std::memcpy(&bytes[kImageBytesAt], &imageSize, sizeof imageSize);
    return bytes;
}

std::string LibraryEndingHalfwayThroughASection() {
    const std::string whole = ReadBytes(TestIconsDll());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        whole.data() + reinterpret_cast<const IMAGE_DOS_HEADER*>(whole.data())->e_lfanew);
    const IMAGE_SECTION_HEADER& last = IMAGE_FIRST_SECTION(nt)[nt->FileHeader.NumberOfSections - 1];
    return whole.substr(0, last.PointerToRawData + last.SizeOfRawData / 2);
}

std::string LibraryCutInItsFirstHeader() { return ReadBytes(TestIconsDll()).substr(0, 40); }
