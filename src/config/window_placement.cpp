#include "config/window_placement.h"

#include <algorithm>
#include <cmath>

#include "base/error.h"
#include "config/ini_file.h"

namespace orvex {
namespace {

constexpr int32_t kScreenMarginPixels = 4;

// One axis of KeptOnScreen: the start and length along it.
void KeepInside(int32_t& start, int32_t& length, int32_t screen, int32_t margin) {
  if (start < margin) {
    start = margin;
  }
  const int32_t excess = start + length - (screen - margin);
  if (excess > 0) {
    start -= excess;
    if (start < margin) {
      start = margin;
      length = screen - margin - start;
    }
  }
}

int32_t Scaled(double fraction, int32_t size) {
  return static_cast<int32_t>(std::floor(fraction * size));
}

std::string WholeNumber(int32_t value) {
  return std::to_string(value);
}

}  // namespace

TwipsRect KeptOnScreen(TwipsRect bounds, TwipsSize screen, TwipsSize twipsPerPixel) {
  KeepInside(bounds.left, bounds.width, screen.width, kScreenMarginPixels * twipsPerPixel.width);
  KeepInside(bounds.top, bounds.height, screen.height, kScreenMarginPixels * twipsPerPixel.height);
  return bounds;
}

void cInifile::SaveFormPosition(const FormWindow& frmThis) {
  const std::string rememberedKey = key_;
  const auto write = [this](std::string_view key, const std::string& value) {
    key_ = key;
    SetValue(value);
  };
  try {
    if (!frmThis.IsMinimized()) {
      write("Maximised", frmThis.IsMaximized() ? "1" : "0");
      if (!frmThis.IsMaximized()) {
        const TwipsRect bounds = frmThis.Bounds();
        write("Left", WholeNumber(bounds.left));
        write("Top", WholeNumber(bounds.top));
        write("Width", WholeNumber(bounds.width));
        write("Height", WholeNumber(bounds.height));
      }
    }
  } catch (const std::exception&) {
    lastReturnCode_ = 0;
  }
  key_ = rememberedKey;
}

void cInifile::LoadFormPosition(FormWindow& frmThis, int32_t lMinWidth, int32_t lMinHeight) {
  const std::string rememberedKey = key_;
  const std::string rememberedDefault = default_;
  default_ = "FAIL";
  const auto read = [this](std::string_view key, int32_t fallback) {
    key_ = key;
    return CLngDefault(Value(), fallback);
  };
  RunSkippingError([&] {
    TwipsRect bounds = frmThis.Bounds();
    bounds.left = read("Left", bounds.left);
    bounds.top = read("Top", bounds.top);
    bounds.width = std::max(read("Width", bounds.width), lMinWidth);
    bounds.height = std::max(read("Height", bounds.height), lMinHeight);
    bounds = KeptOnScreen(bounds, frmThis.ScreenSize(), frmThis.TwipsPerPixel());
    if (bounds.width >= lMinWidth && bounds.height >= lMinHeight) {
      frmThis.SetBounds(bounds);
    }
    if (read("Maximised", 0) != 0) {
      frmThis.Maximize();
    }
  });
  key_ = rememberedKey;
  default_ = rememberedDefault;
}

void AutoResize::Go(FormWindow& YourForm, bool ResetSizes) {
  if (!recorded_ || ResetSizes) {
    Record(YourForm);
  } else {
    Apply(YourForm);
  }
}

void AutoResize::Record(const FormWindow& form) {
  records_.clear();
  const TwipsRect window = form.Bounds();
  if (window.width <= 0 || window.height <= 0) {
    return;
  }
  for (size_t index = 0; index < form.ControlCount(); ++index) {
    RunSkippingError([&] {
      const TwipsRect control = form.ControlBounds(index);
      records_.push_back({form.ControlName(index), static_cast<double>(control.left) / window.width,
                          static_cast<double>(control.top) / window.height,
                          static_cast<double>(control.width) / window.width,
                          static_cast<double>(control.height) / window.height});
    });
  }
  recorded_ = recorded_ || !records_.empty();
}

void AutoResize::Apply(FormWindow& form) const {
  const TwipsRect window = form.Bounds();
  for (size_t index = 0; index < form.ControlCount(); ++index) {
    RunSkippingError([&] {
      const std::string name = form.ControlName(index);
      const auto record =
          std::find_if(records_.begin(), records_.end(), [&](const ControlRecord& r) { return r.name == name; });
      if (record != records_.end()) {
        form.SetControlBounds(index, {Scaled(record->left, window.width), Scaled(record->top, window.height),
                                      Scaled(record->width, window.width), Scaled(record->height, window.height)});
      }
    });
  }
}

}  // namespace orvex
