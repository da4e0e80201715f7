#pragma once
#include "platform/Handles.h"

// The GIF stored as RCDATA resource `id` of the program, decoded by OLE's
// picture loader into a bitmap of the caller's own. Raises PlatformError
// when the resource is missing or the picture cannot be read.
UniqueBitmap LoadGifResource(int id);
