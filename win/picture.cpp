// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture.h"

#include <initguid.h>
#include <wincodec.h>

#include "com.h"
#include "form.h"
#include "resource_ids.h"

namespace drill::win {

namespace {

// A decoded picture's pixels, top row first, 32 bits each, in a bitmap GDI draws.
HBITMAP Bitmap(IWICBitmapSource& source, SIZE size) {
    const int width = size.cx, height = size.cy;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        return nullptr;
    }
    const UINT stride = static_cast<UINT>(width) * 4;
    if (FAILED(source.CopyPixels(nullptr, stride, stride * static_cast<UINT>(height),
                                 static_cast<BYTE*>(bits)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
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
    const int resource = dpi * 4 > form::kDesignDpi * 5 ? DRILL_BACKGROUND_2X : DRILL_BACKGROUND;

    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resource), RT_RCDATA);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return false;
    }
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICFormatConverter> converter;
    Com<IWICBitmapScaler> scaler;
    UINT decodedWidth = 0, decodedHeight = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.OutVoid())) ||
        FAILED(factory->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(data),
                                            SizeofResource(module, found))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())) ||
        FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&decodedWidth, &decodedHeight))) {
        return false;
    }
    IWICBitmapSource* source = converter.Get();
    if (decodedWidth != static_cast<UINT>(width) || decodedHeight != static_cast<UINT>(height)) {
        if (FAILED(factory->CreateBitmapScaler(scaler.Out())) ||
            FAILED(scaler->Initialize(converter.Get(), static_cast<UINT>(width),
                                      static_cast<UINT>(height), WICBitmapInterpolationModeFant))) {
            return false;
        }
        source = scaler.Get();
    }
    HBITMAP bitmap = Bitmap(*source, {width, height});
    if (bitmap == nullptr) {
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
