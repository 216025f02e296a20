#include "card_image_win32.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <type_traits>

#include "base/wide_win32.h"
#include "wic_image_win32.h"

namespace orvex::virtual_reader {
namespace {

using images::Picture;

struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using UniqueGdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiObjectDeleter>;

// An object selected into a device context for as long as this lives.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, previous_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(110, 110, 110);
// The text's height as a part of the card's height; the margin as a part of its width.
constexpr int kLinesPerCard = 9;
constexpr int kMarginsPerWidth = 30;

void DrawLines(HDC dc, const CardPicture& card) {
  const int lineHeight = std::max(card.height / kLinesPerCard, 8);
  const UniqueGdiObject font(CreateFontW(-lineHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                         FIXED_PITCH | FF_MODERN, L"Courier New"));
  const Selection fontSelection(dc, font.get());
  SetTextColor(dc, card.grey ? kGrey : kBlack);
  SetBkMode(dc, TRANSPARENT);
  const int margin = card.width / kMarginsPerWidth;
  // The side and the document at the top; the MICR line or the tracks at the bottom, as on a cheque.
  int y = margin;
  for (size_t i = 0; i < card.lines.size(); ++i) {
    if (i == 1) {
      y = std::max(y, card.height - margin - lineHeight * static_cast<int>(card.lines.size() - 1));
    }
    const std::wstring text = ToWide(card.lines[i]);
    TextOutW(dc, margin, y, text.c_str(), static_cast<int>(text.size()));
    y += lineHeight;
  }
}

}  // namespace

std::optional<std::string> DrawCardJpeg(const CardPicture& card) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = card.width;
  info.bmiHeader.biHeight = -card.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const UniqueDc dc(CreateCompatibleDC(nullptr));
  void* bits = nullptr;
  const UniqueGdiObject bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dc || !bitmap || !bits) {
    return std::nullopt;
  }
  Picture picture = images::WhitePicture(static_cast<uint32_t>(card.width), static_cast<uint32_t>(card.height));
  const size_t dibStride = (picture.Stride() + 3) & ~size_t{3};  // DIB rows are padded to four bytes
  {
    const Selection bitmapSelection(dc.get(), bitmap.get());
    PatBlt(dc.get(), 0, 0, card.width, card.height, WHITENESS);
    DrawLines(dc.get(), card);
    GdiFlush();
  }
  for (uint32_t row = 0; row < picture.height; ++row) {
    const auto* source = static_cast<const uint8_t*>(bits) + row * dibStride;
    std::copy_n(source, picture.Stride(), picture.pixels.begin() + static_cast<std::ptrdiff_t>(row * picture.Stride()));
  }
  return images::EncodeJpeg(picture);
}

}  // namespace orvex::virtual_reader
