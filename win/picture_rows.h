// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace drill::win {

// The background picture as pack_picture.py packs it at build time: its width
// and height (16 bits each, low byte first), then each row, top first, as
// pieces a header byte each: the kind in the top two bits (0: that many
// pixels follow, blue, green, red; 1: one pixel follows, repeated; 2: the
// pixels of the row above), the count less one in the low six. Read a row at
// a time, 32 bits a pixel as a bitmap holds them.
class PictureRows {
public:
    // Refuses every row if the data is of another size.
    PictureRows(const std::uint8_t* data, std::size_t size, int width, int height);
    // The next row into `row`, `above` being the row before it (null for the
    // first); false, then and ever after, on data that does not fill it.
    bool Next(std::uint32_t* row, const std::uint32_t* above);
    // Every row read, and nothing left over.
    bool Done() const;

private:
    bool Fail();

    const std::uint8_t* data_;
    std::size_t size_, at_ = 4;
    int width_, rowsLeft_;
};

// The whole picture into `pixels` (width × height); false on data of another
// size or that does not fill every row exactly.
bool UnpackPicture(const std::uint8_t* data, std::size_t size, int width, int height,
                   std::uint32_t* pixels);

struct PictureSize {
    int width, height;
};

// `from` scaled from `size` to `toSize` by area: each pixel the average of
// what it covers, as a picture is smoothly shrunk.
void ScalePicture(const std::uint32_t* from, PictureSize size, std::uint32_t* to,
                  PictureSize toSize);

} // namespace drill::win
