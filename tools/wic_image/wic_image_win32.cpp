#include "wic_image_win32.h"

#include <wincodec.h>
#include <wrl/client.h>

namespace orvex::images {

using Microsoft::WRL::ComPtr;

namespace {

ComPtr<IWICImagingFactory> Factory() {
  ComPtr<IWICImagingFactory> factory;
  CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
  return factory;
}

// The whole content of a memory stream.
std::optional<std::string> StreamBytes(IStream* stream) {
  STATSTG stat = {};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(stream->Seek({}, STREAM_SEEK_SET, nullptr))) {
    return std::nullopt;
  }
  std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
  ULONG read = 0;
  if (FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) || read != bytes.size()) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

ComInitialization::ComInitialization() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}

ComInitialization::~ComInitialization() {
  if (initialized_) {
    CoUninitialize();
  }
}

std::optional<Picture> DecodePicture(std::string_view fileBytes) {
  const ComPtr<IWICImagingFactory> factory = Factory();
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  Picture picture;
  const bool decoded =
      factory && SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(fileBytes.data())),
                                             static_cast<DWORD>(fileBytes.size()))) &&
      SUCCEEDED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame.Get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                      WICBitmapPaletteTypeCustom)) &&
      SUCCEEDED(converter->GetSize(&picture.width, &picture.height));
  if (!decoded) {
    return std::nullopt;
  }
  picture.pixels.resize(size_t{picture.Stride()} * picture.height);
  if (FAILED(converter->CopyPixels(nullptr, picture.Stride(), static_cast<UINT>(picture.pixels.size()),
                                   picture.pixels.data()))) {
    return std::nullopt;
  }
  return picture;
}

std::optional<std::string> EncodeJpeg(const Picture& picture) {
  const ComPtr<IWICImagingFactory> factory = Factory();
  ComPtr<IStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  const bool encoded =
      factory && SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
      SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
      SUCCEEDED(frame->SetSize(picture.width, picture.height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
      format == GUID_WICPixelFormat24bppBGR &&
      SUCCEEDED(frame->WritePixels(picture.height, picture.Stride(), static_cast<UINT>(picture.pixels.size()),
                                   const_cast<BYTE*>(picture.pixels.data()))) &&
      SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  if (!encoded) {
    return std::nullopt;
  }
  return StreamBytes(stream.Get());
}

}  // namespace orvex::images
