// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture.h"

#include <cstdint>
#include <new>
#include <vector>

#include "form.h"
#include "picture_rows.h"
#include "resource_ids.h"

namespace drill::win {

namespace {

// A bitmap GDI draws, 32 bits a pixel, top row first, and where its pixels are.
HBITMAP Bitmap(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
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
    const bool twice = dpi * 4 > form::kDesignDpi * 5;
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
    void* bits = nullptr;
    HBITMAP bitmap = Bitmap(width, height, &bits);
    if (bitmap == nullptr) {
        return false;
    }
    auto* pixels = static_cast<std::uint32_t*>(bits);
    bool unpacked = false;
    if (packed.cx == width && packed.cy == height) {
        unpacked = UnpackPicture(packedData, packedSize, width, height, pixels);
    } else {
        try {
            std::vector<std::uint32_t> drawn(static_cast<std::size_t>(packed.cx) *
                                             static_cast<std::size_t>(packed.cy));
            unpacked = UnpackPicture(packedData, packedSize, packed.cx, packed.cy, drawn.data());
            if (unpacked) {
                ScalePicture(drawn.data(), packed.cx, packed.cy, pixels, width, height);
            }
        } catch (const std::bad_alloc&) {
            unpacked = false;
        }
    }
    if (!unpacked) {
        DeleteObject(bitmap);
        return false;
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    bitmap_ = bitmap;
    width_ = width;
    height_ = height;
    return true;
}

void Picture::Draw(HDC dc) const {
    HDC source = CreateCompatibleDC(dc);
    if (source == nullptr) {
        return;
    }
    const HGDIOBJ old = SelectObject(source, bitmap_);
    BitBlt(dc, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

} // namespace drill::win
