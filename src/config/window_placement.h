#pragma once

// Window geometry: a window's placement stored in an INI section and restored on the screen
// (cInifile::SaveFormPosition, cInifile::LoadFormPosition), and AutoResize, which keeps a
// resizable window's controls in the proportions of its design layout. All sizes are in twips
// (1440 to the inch), so they mean the same on screens of every resolution.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvex {

struct TwipsRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;

  bool operator==(const TwipsRect&) const = default;
};

struct TwipsSize {
  int32_t width = 0;
  int32_t height = 0;

  bool operator==(const TwipsSize&) const = default;
};

// A window as the geometry rules see it: its outer bounds on the screen, and its controls in the
// order of its control collection, each with a name and bounds inside the window.
class FormWindow {
 public:
  virtual ~FormWindow() = default;

  virtual bool IsMinimized() const = 0;
  virtual bool IsMaximized() const = 0;
  virtual TwipsRect Bounds() const = 0;
  virtual void SetBounds(const TwipsRect& bounds) = 0;
  virtual void Maximize() = 0;
  // The screen the window is on, and the twips of one pixel along each axis.
  virtual TwipsSize ScreenSize() const = 0;
  virtual TwipsSize TwipsPerPixel() const = 0;

  virtual size_t ControlCount() const = 0;
  virtual std::string ControlName(size_t index) const = 0;
  virtual TwipsRect ControlBounds(size_t index) const = 0;
  virtual void SetControlBounds(size_t index, const TwipsRect& bounds) = 0;
};

// The window's bounds moved and cut so that it stays inside the screen with a margin of 4 pixels
// on every side.
TwipsRect KeptOnScreen(TwipsRect bounds, TwipsSize screen, TwipsSize twipsPerPixel);

// Keeps a window's controls in proportion to the window. The first Go records the layout (each
// control's position and size as fractions of the window's outer size); every later Go applies
// those fractions to the window's current size. Controls are matched by name: controls that
// share a name take the fractions of the first one recorded, a control added later keeps its
// geometry.
class AutoResize {
 public:
  void Go(FormWindow& YourForm, bool ResetSizes);

 private:
  struct ControlRecord {
    std::string name;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
  };

  void Record(const FormWindow& form);
  void Apply(FormWindow& form) const;

  bool recorded_ = false;
  std::vector<ControlRecord> records_;
};

}  // namespace orvex
