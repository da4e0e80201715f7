#pragma once
#include <cstdint>
#include <string_view>

// What a picture file claims of its own size, read from its headers before
// any decoder sees it. Under Wine, the PNG, JPEG and GIF decoders decode the
// whole picture as soon as they open it, into a buffer of the size the
// header claims: a few bytes claiming 30,000 x 30,000 pixels take gigabytes,
// or overflow the buffer's size and crash. Windows' decoders, and Wine's
// others, decode nothing before they are asked for pixels, and tell their
// size first.
namespace pictureheader {

// The bytes such a decoder holds on opening `bytes`: 4 a pixel, and for a
// GIF, whose frames are all decoded at once, 1 a pixel of every frame
// besides. 0 when the bytes claim nothing (another format, or headers cut
// short): the decoder then judges them.
uint64_t DecodedBytes(std::string_view bytes);

}  // namespace pictureheader
