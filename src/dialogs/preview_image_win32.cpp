#include "dialogs/preview_image_win32.h"

#include <wincodec.h>

#include <algorithm>
#include <string>

#include "base/error.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

// Releases a COM interface when it goes.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_) {
      pointer_->Release();
    }
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  Interface* operator->() const { return pointer_; }
  Interface* Get() const { return pointer_; }
  Interface** Out() { return &pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

// COM on this thread for as long as the object lives (a thread that has it already keeps it).
class ComScope {
 public:
  ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialised_) {
      CoUninitialize();
    }
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialised_;
};

void Check(HRESULT result, std::string_view step, std::string_view path) {
  if (FAILED(result)) {
    throw Error(kErrFileNotFound, std::string(step) + " failed for " + std::string(path) + " (HRESULT " +
                                      std::to_string(static_cast<unsigned long>(result)) + ")");
  }
}

}  // namespace

PreviewImage::~PreviewImage() {
  if (bitmap_) {
    DeleteObject(bitmap_);
  }
}

void PreviewImage::Load(std::string_view path) {
  const ComScope com;
  ComPtr<IWICImagingFactory> factory;
  Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.Out())),
        "Creating the imaging factory", path);
  ComPtr<IWICBitmapDecoder> decoder;
  Check(factory->CreateDecoderFromFilename(ToWide(path).c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                           decoder.Out()),
        "Opening the picture", path);
  ComPtr<IWICBitmapFrameDecode> frame;
  Check(decoder->GetFrame(0, frame.Out()), "Reading the picture", path);
  ComPtr<IWICFormatConverter> converter;
  Check(factory->CreateFormatConverter(converter.Out()), "Creating the converter", path);
  Check(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                              WICBitmapPaletteTypeCustom),
        "Converting the picture", path);
  UINT width = 0;
  UINT height = 0;
  Check(converter->GetSize(&width, &height), "Measuring the picture", path);

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top row first, as WIC delivers it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) {
    throw Error(kErrOutOfMemory, "No bitmap for " + std::string(path));
  }
  const UINT stride = width * 4;
  const HRESULT copied = converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits));
  if (FAILED(copied)) {
    DeleteObject(bitmap);
    Check(copied, "Copying the picture", path);
  }
  if (bitmap_) {
    DeleteObject(bitmap_);
  }
  bitmap_ = bitmap;
  size_ = {static_cast<LONG>(width), static_cast<LONG>(height)};
}

void PreviewImage::Draw(HDC dc, const RECT& into) const {
  const LONG boxWidth = into.right - into.left;
  const LONG boxHeight = into.bottom - into.top;
  if (!bitmap_ || boxWidth <= 0 || boxHeight <= 0 || size_.cx <= 0 || size_.cy <= 0) {
    return;
  }
  const double scale = std::min(static_cast<double>(boxWidth) / size_.cx, static_cast<double>(boxHeight) / size_.cy);
  const int width = std::max(1, static_cast<int>(size_.cx * scale));
  const int height = std::max(1, static_cast<int>(size_.cy * scale));
  const int left = into.left + (boxWidth - width) / 2;
  const int top = into.top + (boxHeight - height) / 2;

  // In a right-to-left window the picture keeps its own orientation.
  const DWORD layout = GetLayout(dc);
  if (layout & LAYOUT_RTL) {
    SetLayout(dc, layout | LAYOUT_BITMAPORIENTATIONPRESERVED);
  }
  const HDC source = CreateCompatibleDC(dc);
  const HGDIOBJ previous = SelectObject(source, bitmap_);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, left, top, width, height, source, 0, 0, size_.cx, size_.cy, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
  SetLayout(dc, layout);
}

}  // namespace orvex
