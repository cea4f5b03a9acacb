// The backdrop's picture, decoded by the Windows Imaging Component into a 32-bit bitmap whose
// transparent pixels are blended over the backdrop's colour once, so that painting is a
// plain stretch of it.
#include "desktop/backdrop.h"
#include "platform/com_library.h"
#include <wincodec.h>

enum {
    LARGEST_SIDE_PIXELS = 16384,
    LARGEST_PICTURE_PIXELS = 64000000, // 64 megapixels: 256 MB once decoded
};

// The factory every Windows from Vista on has (the newer one only from Windows 8).
static const CLSID kImagingFactory1 = {
    0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
static const IID kImagingFactoryInterface = {
    0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
static const GUID kPremultipliedBgra = {
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x10}};

template <typename Object> static void Release(Object *object) {
    if (object != NULL)
        object->Release();
}

// Pixels premultiplied by their alpha, blended over the colour: each channel gains the
// colour's share that the pixel's transparency lets through.
static void BlendOver(BYTE *pixels, size_t count, const BackdropColor *color) {
    bool solid = IsSolidColor(color);
    const unsigned backdrop[3] = {solid ? (unsigned)color->blue : 0,
                                  solid ? (unsigned)color->green : 0,
                                  solid ? (unsigned)color->red : 0};
    for (BYTE *pixel = pixels; pixel < pixels + count * 4; pixel += 4) {
        unsigned through = 255u - pixel[3];
        for (int channel = 0; channel < 3; channel++)
            pixel[channel] = (BYTE)(pixel[channel] + (backdrop[channel] * through + 127) / 255);
        pixel[3] = 255;
    }
}

// Copies the converted frame's pixels into a new top-down 32-bit DIB section.
static HRESULT CopyToBitmap(IWICBitmapSource *source, const BackdropColor *color,
                            BackdropPicture *picture) {
    UINT width = (UINT)picture->width, height = (UINT)picture->height;
    HRESULT result;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = (LONG)width;
    info.bmiHeader.biHeight = -(LONG)height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (bitmap == NULL)
        return E_OUTOFMEMORY;
    result = source->CopyPixels(NULL, width * 4, width * height * 4, (BYTE *)bits);
    if (FAILED(result)) {
        DeleteObject(bitmap);
        return result;
    }
    BlendOver((BYTE *)bits, (size_t)width * height, color);
    picture->bitmap = bitmap;
    return S_OK;
}

// The frame's size, told before its pixels are decoded; a picture too large to hold is refused.
static HRESULT MeasureFrame(IWICBitmapFrameDecode *frame, BackdropPicture *picture) {
    UINT width = 0, height = 0;
    HRESULT result = frame->GetSize(&width, &height);
    if (FAILED(result))
        return result;
    picture->width = (int)(width & 0x7FFFFFFF);
    picture->height = (int)(height & 0x7FFFFFFF);
    if (width == 0 || height == 0 || width > LARGEST_SIDE_PIXELS || height > LARGEST_SIDE_PIXELS ||
        (unsigned long long)width * height > LARGEST_PICTURE_PIXELS)
        return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    return S_OK;
}

bool LoadBackdropPicture(const wchar_t *fileName, const BackdropColor *color,
                         BackdropPicture *picture, HRESULT *why) {
    *picture = BackdropPicture{};
    PrepareCom();
    IWICImagingFactory *factory = NULL;
    IWICBitmapDecoder *decoder = NULL;
    IWICBitmapFrameDecode *frame = NULL;
    IWICFormatConverter *converter = NULL;
    HRESULT result = CreateComObject(kImagingFactory1, kImagingFactoryInterface, (void **)&factory);
    if (SUCCEEDED(result))
        result = factory->CreateDecoderFromFilename(fileName, NULL, GENERIC_READ,
                                                    WICDecodeMetadataCacheOnDemand, &decoder);
    if (SUCCEEDED(result))
        result = decoder->GetFrame(0, &frame);
    if (SUCCEEDED(result))
        result = MeasureFrame(frame, picture);
    if (SUCCEEDED(result))
        result = factory->CreateFormatConverter(&converter);
    if (SUCCEEDED(result))
        result = converter->Initialize(frame, kPremultipliedBgra, WICBitmapDitherTypeNone, NULL,
                                       0.0, WICBitmapPaletteTypeCustom);
    if (SUCCEEDED(result))
        result = CopyToBitmap(converter, color, picture);
    Release(converter);
    Release(frame);
    Release(decoder);
    Release(factory);
    *why = result;
    return SUCCEEDED(result);
}
