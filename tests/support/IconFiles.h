#pragma once
#include <windows.h>

#include <string>

// The bytes of icon files made for a test: one 32 x 32 icon of one colour,
// and damaged files of icons that the platform's extraction must never see.
std::string IcoBytes(COLORREF colour);
// The first 1,000 bytes of a good one: its directory names bytes past the end.
std::string TruncatedIcoBytes();
// A good one whose directory places the image past the end of the file.
std::string IcoPointingPastItsEnd();
// A good one whose image header claims 2,000,000,000 pixels a side.
std::string IcoClaimingAHugeImage();
// A good one whose image holds its colour bitmap but not the mask under it.
std::string IcoWithoutItsMask();
// The first half of the tests' library of icons: a download stopped halfway.
std::string LibraryCutShort();
// The tests' library of icons ending halfway through its last section's data.
std::string LibraryEndingHalfwayThroughASection();
// The first 40 bytes of the tests' library of icons: its DOS header cut.
std::string LibraryCutInItsFirstHeader();
