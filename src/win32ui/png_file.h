// A PNG of a window's pixels with no library: 8-bit RGB, the image data in stored
// (uncompressed) deflate blocks. Larger than a compressed PNG (a 800x660 window is 1.6 MB),
// which the autopilot's few pictures can afford.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vq::win32ui {

// rgb: height rows of width pixels, 3 bytes each, top row first.
std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<std::uint8_t>& rgb);
std::uint32_t crc32(const std::uint8_t* data, std::size_t n, std::uint32_t crc = 0);

}  // namespace vq::win32ui
