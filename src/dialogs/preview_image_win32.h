#pragma once

// The picture of a cheque shown beside its fields: an image file decoded with the Windows Imaging
// Component and drawn scaled into a control, keeping its proportions.

#include <windows.h>

#include <string_view>

namespace orvex {

class PreviewImage {
 public:
  PreviewImage() = default;
  ~PreviewImage();
  PreviewImage(const PreviewImage&) = delete;
  PreviewImage& operator=(const PreviewImage&) = delete;

  // Decodes the file (JPEG or any format the platform knows); throws Error when it cannot.
  void Load(std::string_view path);
  bool Loaded() const { return bitmap_ != nullptr; }
  SIZE Size() const { return size_; }

  // Draws the picture as large as fits into the rectangle, centred, keeping its proportions.
  void Draw(HDC dc, const RECT& into) const;

 private:
  HBITMAP bitmap_ = nullptr;
  SIZE size_{};
};

}  // namespace orvex
