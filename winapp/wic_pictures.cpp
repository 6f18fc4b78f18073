#include "winapp/wic_pictures.h"

#include <wincodec.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace vorlanex::winapp {

namespace {

// Releases a COM interface when it goes out of scope.
template <typename Interface>
class Com {
public:
    Com() = default;
    ~Com() {
        if (pointer_) pointer_->Release();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    Interface** put() { return &pointer_; }
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }

private:
    Interface* pointer_ = nullptr;
};

bool make_factory(Com<IWICImagingFactory>& factory) {
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory.put())));
}

// 32-bit BGR pixels in rows from the top, the form WIC reads and writes here.
BITMAPINFO top_down_format(UINT width, UINT height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HBITMAP top_down_bitmap(UINT width, UINT height, void** bits) {
    const BITMAPINFO info = top_down_format(width, height);
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// Lays premultiplied BGRA pixels over an opaque background, in place.
void lay_over(std::span<BYTE> pixels, COLORREF background) {
    const BYTE under[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
    for (std::size_t pixel = 0; pixel + 4 <= pixels.size(); pixel += 4) {
        const unsigned clear = 255u - pixels[pixel + 3];
        for (std::size_t channel = 0; channel < 3; ++channel) {
            pixels[pixel + channel] =
                static_cast<BYTE>(pixels[pixel + channel] + (clear * under[channel] + 127u) / 255u);
        }
        pixels[pixel + 3] = 255;
    }
}

}  // namespace

HBITMAP decoded_picture(std::span<const unsigned char> encoded, COLORREF background) {
    if (encoded.size() > std::numeric_limits<DWORD>::max()) return nullptr;
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    // WIC reads the bytes in place and only reads them.
    auto* bytes = const_cast<BYTE*>(encoded.data());
    if (!make_factory(factory) || FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(bytes, static_cast<DWORD>(encoded.size()))) ||
        FAILED(
            factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height))) {
        return nullptr;
    }
    void* bits = nullptr;
    HBITMAP bitmap = top_down_bitmap(width, height, &bits);
    if (!bitmap) return nullptr;
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    lay_over({static_cast<BYTE*>(bits), std::size_t{stride} * height}, background);
    return bitmap;
}

bool save_png(HBITMAP bitmap, const std::wstring& path) {
    BITMAP described{};
    if (!GetObjectW(bitmap, sizeof(described), &described)) return false;
    const UINT width = static_cast<UINT>(described.bmWidth), height = static_cast<UINT>(described.bmHeight);
    // The pixels as 32-bit BGR rows from the top, whatever the bitmap's own format.
    std::vector<std::uint8_t> pixels(std::size_t{width} * height * 4);
    BITMAPINFO info = top_down_format(width, height);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != static_cast<int>(height)) return false;

    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    const UINT stride = width * 4;
    return make_factory(factory) && SUCCEEDED(factory->CreateStream(stream.put())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) &&
           SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.put(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
           SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
           SUCCEEDED(frame->WritePixels(height, stride, stride * height, pixels.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace vorlanex::winapp
