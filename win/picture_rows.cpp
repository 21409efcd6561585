// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_rows.h"

#include <algorithm>
#include <vector>

namespace drill::win {

namespace {

constexpr unsigned kLiteral = 0, kRun = 1, kAbove = 2;

std::uint32_t Pixel(const std::uint8_t* bgr) {
    return bgr[0] | static_cast<std::uint32_t>(bgr[1]) << 8 |
           static_cast<std::uint32_t>(bgr[2]) << 16;
}

int Word(const std::uint8_t* data) {
    return data[0] | data[1] << 8;
}

// One line of `count` pixels, `step` apart, to `toCount`: output pixel i
// covers [i * count, (i + 1) * count) and input pixel j [j * toCount,
// (j + 1) * toCount), each channel weighted by the overlap.
void ScaleLine(const std::uint32_t* from, std::ptrdiff_t step, int count, std::uint32_t* to,
               std::ptrdiff_t toStep, int toCount) {
    for (int i = 0; i < toCount; ++i) {
        const long begin = static_cast<long>(i) * count, end = begin + count;
        std::uint32_t sums[3] = {};
        for (long j = begin / toCount; j * toCount < end; ++j) {
            const long weight = std::min(end, (j + 1) * toCount) - std::max(begin, j * toCount);
            const std::uint32_t pixel = from[j * step];
            for (int channel = 0; channel < 3; ++channel) {
                sums[channel] +=
                    static_cast<std::uint32_t>(weight) * (pixel >> (8 * channel) & 0xff);
            }
        }
        std::uint32_t pixel = 0;
        for (int channel = 0; channel < 3; ++channel) {
            const std::uint32_t whole = static_cast<std::uint32_t>(count);
            pixel |= (sums[channel] + whole / 2) / whole << (8 * channel);
        }
        to[i * toStep] = pixel;
    }
}

} // namespace

void ScalePicture(const std::uint32_t* from, int width, int height, std::uint32_t* to, int toWidth,
                  int toHeight) {
    // Across first, into rows of the new width, then down.
    std::vector<std::uint32_t> across(static_cast<std::size_t>(toWidth) *
                                      static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        ScaleLine(from + static_cast<std::ptrdiff_t>(y) * width, 1, width,
                  across.data() + static_cast<std::ptrdiff_t>(y) * toWidth, 1, toWidth);
    }
    for (int x = 0; x < toWidth; ++x) {
        ScaleLine(across.data() + x, toWidth, height, to + x, toWidth, toHeight);
    }
}

PictureRows::PictureRows(const std::uint8_t* data, std::size_t size, int width, int height)
    : data_(data), size_(size), width_(width), rowsLeft_(height) {
    if (size < 4 || Word(data) != width || Word(data + 2) != height) {
        rowsLeft_ = -1;
    }
}

bool PictureRows::Next(std::uint32_t* row, const std::uint32_t* above) {
    if (rowsLeft_ <= 0) {
        return false;
    }
    --rowsLeft_;
    for (int x = 0; x < width_;) {
        if (at_ >= size_) {
            return Fail();
        }
        const unsigned kind = data_[at_] >> 6;
        const int count = (data_[at_] & 63) + 1;
        ++at_;
        if (count > width_ - x) {
            return Fail();
        }
        if (kind == kLiteral) {
            if (size_ - at_ < static_cast<std::size_t>(count) * 3) {
                return Fail();
            }
            for (int i = 0; i < count; ++i, at_ += 3) {
                row[x + i] = Pixel(data_ + at_);
            }
        } else if (kind == kRun) {
            if (size_ - at_ < 3) {
                return Fail();
            }
            std::fill_n(row + x, count, Pixel(data_ + at_));
            at_ += 3;
        } else if (kind == kAbove && above != nullptr) {
            std::copy_n(above + x, count, row + x);
        } else {
            return Fail();
        }
        x += count;
    }
    return true;
}

bool PictureRows::Done() const {
    return rowsLeft_ == 0 && at_ == size_;
}

bool PictureRows::Fail() {
    rowsLeft_ = -1;
    return false;
}

bool UnpackPicture(const std::uint8_t* data, std::size_t size, int width, int height,
                   std::uint32_t* pixels) {
    PictureRows rows(data, size, width, height);
    const std::uint32_t* above = nullptr;
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        if (!rows.Next(row, above)) {
            return false;
        }
        above = row;
    }
    return rows.Done();
}

} // namespace drill::win
