// The donation picture, stored in the program: a baseline JPEG stream made by
// assets/make-pictures and compiled in at build time.
#pragma once

#include <cstddef>

namespace assets {

extern const unsigned char kDonateImageJpeg[];
extern const std::size_t kDonateImageJpegSize;

} // namespace assets
