// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "form.h"
#include "picture_rows.h"
#include "resource_ids.h"

namespace drill::win {

namespace {

// Rows unpacked and drawn at a time when the picture is painted at its own size.
constexpr int kBand = 32;

// A bitmap GDI draws, 32 bits a pixel, top row first, and where its pixels are.
HBITMAP Bitmap(SIZE size, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

} // namespace

Picture::~Picture() {
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
}

bool Picture::Render(int dpi) {
    const int width = MulDiv(form::kPictureWidth, dpi, form::kDesignDpi);
    const int height = MulDiv(form::kPictureHeight, dpi, form::kDesignDpi);
    const bool twice = dpi > form::kDoublePictureAboveDpi;
    const SIZE packed{form::kPictureWidth * (twice ? 2 : 1),
                      form::kPictureHeight * (twice ? 2 : 1)};

    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(
        module, MAKEINTRESOURCEW(twice ? DRILL_BACKGROUND_2X : DRILL_BACKGROUND), RT_RCDATA);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return false;
    }
    const auto* packedData = static_cast<const std::uint8_t*>(data);
    const DWORD packedSize = SizeofResource(module, found);
    HBITMAP bitmap = nullptr;
    try {
        if (packed.cx == width && packed.cy == height) {
            // Read through once here, so that a damaged picture stops the start.
            std::vector<std::uint32_t> band(static_cast<std::size_t>(width) * kBand);
            PictureRows rows(packedData, packedSize, width, height);
            for (int y = 0; y < height; ++y) {
                std::uint32_t* row = band.data() + static_cast<std::size_t>(y % kBand) * width;
                const std::uint32_t* above =
                    y == 0 ? nullptr
                           : band.data() + static_cast<std::size_t>((y - 1) % kBand) * width;
                if (!rows.Next(row, above)) {
                    return false;
                }
            }
            if (!rows.Done()) {
                return false;
            }
            band_ = std::move(band);
        } else {
            void* bits = nullptr;
            bitmap = Bitmap({width, height}, &bits);
            std::vector<std::uint32_t> drawn(static_cast<std::size_t>(packed.cx) *
                                             static_cast<std::size_t>(packed.cy));
            if (bitmap == nullptr ||
                !UnpackPicture(packedData, packedSize, packed.cx, packed.cy, drawn.data())) {
                if (bitmap != nullptr) {
                    DeleteObject(bitmap);
                }
                return false;
            }
            ScalePicture(drawn.data(), {packed.cx, packed.cy}, static_cast<std::uint32_t*>(bits),
                         {width, height});
            band_.clear();
            band_.shrink_to_fit();
        }
    } catch (const std::bad_alloc&) {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        return false;
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    bitmap_ = bitmap;
    packed_ = bitmap == nullptr ? packedData : nullptr;
    packedSize_ = packedSize;
    width_ = width;
    height_ = height;
    return true;
}

void Picture::Draw(HDC dc, const RECT& area) const {
    if (bitmap_ == nullptr) {
        Unpack(dc, area);
        return;
    }
    HDC source = CreateCompatibleDC(dc);
    if (source == nullptr) {
        return;
    }
    const HGDIOBJ old = SelectObject(source, bitmap_);
    BitBlt(dc, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

void Picture::Unpack(HDC dc, const RECT& area) const {
    if (packed_ == nullptr) {
        return;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // Rows are read from the top down to the area's last, each band drawn
    // where it meets the area; the row above a band's first is its last.
    PictureRows rows(packed_, packedSize_, width_, height_);
    const int bottom = std::min<int>(height_, area.bottom);
    for (int top = 0; top < bottom; top += kBand) {
        const int count = std::min(kBand, height_ - top);
        for (int i = 0; i < count; ++i) {
            const int y = top + i;
            std::uint32_t* row = band_.data() + static_cast<std::size_t>(i) * width_;
            const std::uint32_t* above =
                y == 0 ? nullptr
                       : band_.data() + static_cast<std::size_t>((y - 1) % kBand) * width_;
            if (!rows.Next(row, above)) {
                return;
            }
        }
        if (top + count > area.top) {
            info.bmiHeader.biHeight = -count;
            StretchDIBits(dc, 0, top, width_, count, 0, 0, width_, count, band_.data(), &info,
                          DIB_RGB_COLORS, SRCCOPY);
        }
    }
}

} // namespace drill::win
