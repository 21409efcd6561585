// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_rows.h"

#include <algorithm>
#include <array>
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

// A line of pixels `step` apart: a row (step 1) or a column (step the width).
template <typename Value> struct Line {
    Value* first;
    std::ptrdiff_t step;
    int count;
};

// `from` scaled to `to`: output pixel i covers [i * from.count, (i + 1) *
// from.count) and input pixel j [j * to.count, (j + 1) * to.count), each
// channel weighted by the overlap.
void ScaleLine(Line<const std::uint32_t> from, Line<std::uint32_t> to) {
    for (int i = 0; i < to.count; ++i) {
        const long begin = static_cast<long>(i) * from.count, end = begin + from.count;
        std::array<std::uint32_t, 3> sums{};
        for (long j = begin / to.count; j * to.count < end; ++j) {
            const long weight = std::min(end, (j + 1) * to.count) - std::max(begin, j * to.count);
            const std::uint32_t pixel = from.first[j * from.step];
            for (std::size_t channel = 0; channel < sums.size(); ++channel) {
                sums[channel] +=
                    static_cast<std::uint32_t>(weight) * (pixel >> (8 * channel) & 0xff);
            }
        }
        std::uint32_t pixel = 0;
        const auto whole = static_cast<std::uint32_t>(from.count);
        for (std::size_t channel = 0; channel < sums.size(); ++channel) {
            pixel |= (sums[channel] + whole / 2) / whole << (8 * channel);
        }
        to.first[i * to.step] = pixel;
    }
}

} // namespace

void ScalePicture(const std::uint32_t* from, PictureSize size, std::uint32_t* to,
                  PictureSize toSize) {
    const auto [width, height] = size;
    const auto [toWidth, toHeight] = toSize;
    // Across first, into rows of the new width, then down.
    std::vector<std::uint32_t> across(static_cast<std::size_t>(toWidth) *
                                      static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        ScaleLine({from + static_cast<std::ptrdiff_t>(y) * width, 1, width},
                  {across.data() + static_cast<std::ptrdiff_t>(y) * toWidth, 1, toWidth});
    }
    for (int x = 0; x < toWidth; ++x) {
        ScaleLine({across.data() + x, toWidth, height}, {to + x, toWidth, toHeight});
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
