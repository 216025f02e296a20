#include "config/window_placement.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "config/ini_file.h"
#include "support/temp_folder.h"

namespace orvex {
namespace {

// 15 twips to the pixel (96 dots to the inch) on a screen of 1920 by 1080 pixels; the margin is
// 4 pixels, 60 twips.
constexpr TwipsSize kScreen{28800, 16200};
constexpr TwipsRect kStart{1500, 1200, 6000, 4000};

struct FakeControl {
  std::string name;
  TwipsRect bounds;
};

class FakeForm : public FormWindow {
 public:
  bool IsMinimized() const override { return minimized; }
  bool IsMaximized() const override { return maximized; }
  TwipsRect Bounds() const override { return bounds; }
  void SetBounds(const TwipsRect& to) override {
    bounds = to;
    ++moves;
  }
  void Maximize() override { maximized = true; }
  TwipsSize ScreenSize() const override { return kScreen; }
  TwipsSize TwipsPerPixel() const override { return {15, 15}; }
  size_t ControlCount() const override { return controls.size(); }
  std::string ControlName(size_t index) const override { return controls.at(index).name; }
  TwipsRect ControlBounds(size_t index) const override { return controls.at(index).bounds; }
  void SetControlBounds(size_t index, const TwipsRect& to) override { controls.at(index).bounds = to; }

  bool minimized = false;
  bool maximized = false;
  TwipsRect bounds = kStart;
  int moves = 0;
  std::vector<FakeControl> controls;
};

class FormPositionTest : public ::testing::Test {
 protected:
  FormPositionTest() {
    ini_.SetPath(path_);
    ini_.SetSection("frmChequeFull");
    ini_.SetKey("Kept");
    ini_.SetDefault("kept default");
  }
  void UseSection(const std::string& keys) { ASSERT_TRUE(WriteFileBytes(path_, "[frmChequeFull]\r\n" + keys)); }
  std::string FileBytes() const { return ReadFileBytes(path_).value_or(""); }

  test_support::TempFolder folder_;
  std::string path_ = folder_.File("geometry.ini");
  cInifile ini_;
  FakeForm form_;
};

TEST_F(FormPositionTest, SaveWritesThePlacementThatTheWindowsStateAllows) {
  const struct {
    bool minimized;
    bool maximized;
    const char* written;
  } cases[] = {
      {false, false, "[frmChequeFull]\r\nMaximised=0\r\nLeft=1500\r\nTop=1200\r\nWidth=6000\r\nHeight=4000\r\n"},
      {false, true, "[frmChequeFull]\r\nMaximised=1\r\n"},
      {true, false, "[frmChequeFull]\r\n"},
  };
  for (const auto& c : cases) {
    UseSection("");
    form_.minimized = c.minimized;
    form_.maximized = c.maximized;
    ini_.SaveFormPosition(form_);
    EXPECT_EQ(FileBytes(), c.written) << c.minimized << c.maximized;
    EXPECT_EQ(ini_.Key(), "Kept");
  }
}

TEST_F(FormPositionTest, LoadKeepsTheWindowOnTheScreenAndAtItsMinimumSize) {
  const struct {
    const char* keys;
    int32_t minWidth;
    int32_t minHeight;
    TwipsRect expected;
  } cases[] = {
      {"", 0, 0, kStart},  // nothing stored: the window stays
      {"Left=2000\r\nTop=1500\r\nWidth=7000\r\nHeight=5000\r\n", 0, 0, {2000, 1500, 7000, 5000}},
      {"Left=x\r\nTop=\r\nWidth=7000.6\r\n", 0, 0, {1500, 1200, 7001, 4000}},  // damaged keys keep the value
      {"Width=100\r\nHeight=100\r\n", 3000, 2000, {1500, 1200, 3000, 2000}},
      {"Left=10\r\nTop=-500\r\n", 0, 0, {60, 60, 6000, 4000}},
      {"Left=25000\r\nTop=15000\r\n", 0, 0, {22740, 12140, 6000, 4000}},  // moved back by the excess
      {"Left=0\r\nWidth=40000\r\n", 0, 0, {60, 1200, 28680, 4000}},       // too wide: cut to fit
      {"Left=0\r\nWidth=40000\r\n", 29000, 0, kStart},                    // cut below the minimum: stays
  };
  for (const auto& c : cases) {
    UseSection(c.keys);
    form_ = FakeForm();
    ini_.LoadFormPosition(form_, c.minWidth, c.minHeight);
    EXPECT_EQ(form_.bounds, c.expected) << c.keys;
    EXPECT_FALSE(form_.maximized) << c.keys;
    EXPECT_EQ(ini_.Key(), "Kept");
    EXPECT_EQ(ini_.Default(), "kept default");
  }
}

TEST_F(FormPositionTest, LoadMaximisesWhenTheStoredFlagIsNotZero) {
  for (const auto& [keys, maximized] : {std::pair{"Maximised=1\r\n", true}, std::pair{"Maximised=2\r\n", true},
                                        std::pair{"Maximised=0\r\n", false}, std::pair{"Maximised=no\r\n", false}}) {
    UseSection(keys);
    form_ = FakeForm();
    ini_.LoadFormPosition(form_, 0, 0);
    EXPECT_EQ(form_.maximized, maximized) << keys;
  }
}

TEST(AutoResize, LaterResizesScaleTheControlsByTheRecordedLayout) {
  FakeForm form;
  form.bounds = {0, 0, 6000, 4000};
  form.controls = {{"Image1", {300, 400, 3000, 2000}}, {"txtAmount", {100, 3000, 1000, 500}}};
  AutoResize resize;
  resize.Go(form, false);  // the first call records
  EXPECT_EQ(form.controls[0].bounds, (TwipsRect{300, 400, 3000, 2000}));

  form.bounds = {0, 0, 12000, 8000};
  resize.Go(form, false);
  EXPECT_EQ(form.controls[0].bounds, (TwipsRect{600, 800, 6000, 4000}));
  EXPECT_EQ(form.controls[1].bounds, (TwipsRect{200, 6000, 2000, 1000}));

  form.bounds = {0, 0, 7000, 3000};  // fractions of a twip are dropped
  resize.Go(form, false);
  EXPECT_EQ(form.controls[1].bounds, (TwipsRect{116, 2250, 1166, 375}));
}

TEST(AutoResize, ControlsAreMatchedByName) {
  FakeForm form;
  form.bounds = {0, 0, 1000, 1000};
  form.controls = {{"Field", {100, 100, 100, 100}}, {"Field", {500, 500, 200, 200}}};
  AutoResize resize;
  resize.Go(form, false);
  form.controls.push_back({"Added", {10, 20, 30, 40}});
  form.bounds = {0, 0, 2000, 2000};
  resize.Go(form, false);
  // Both take the proportions of the first one recorded; the one added later keeps its geometry.
  EXPECT_EQ(form.controls[0].bounds, (TwipsRect{200, 200, 200, 200}));
  EXPECT_EQ(form.controls[1].bounds, (TwipsRect{200, 200, 200, 200}));
  EXPECT_EQ(form.controls[2].bounds, (TwipsRect{10, 20, 30, 40}));
}

TEST(AutoResize, AWindowWithoutControlsRecordsOnTheNextCall) {
  FakeForm form;
  form.bounds = {0, 0, 1000, 1000};
  AutoResize resize;
  resize.Go(form, false);  // nothing to record yet
  form.controls = {{"Label1", {100, 100, 100, 100}}};
  form.bounds = {0, 0, 2000, 2000};
  resize.Go(form, false);  // records this layout
  EXPECT_EQ(form.controls[0].bounds, (TwipsRect{100, 100, 100, 100}));
  form.bounds = {0, 0, 4000, 4000};
  resize.Go(form, false);
  EXPECT_EQ(form.controls[0].bounds, (TwipsRect{200, 200, 200, 200}));
}

}  // namespace
}  // namespace orvex
