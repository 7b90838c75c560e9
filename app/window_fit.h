// How the main window's size follows the source picture. The window's own
// size is kept in twips (1/1440 inch, 15 per pixel on a standard display) as
// the stored positions are; the panels inside are placed in pixels.
#pragma once

namespace app {

inline constexpr int kTwipsPerPixel = 15;

// The picture area the window is designed for; smaller pictures keep it.
inline constexpr int kDesignPictureWidth = 500;
inline constexpr int kDesignPictureHeight = 100;
// Window width beyond the picture, and the window height for the design area.
inline constexpr int kExtraWidthTwips = 390;
inline constexpr int kDesignHeightTwips = 5500;
// Frame1 (picture, preview and save buttons) is the picture height plus this.
inline constexpr int kFrame1ExtraHeight = 45;
// Frame2 starts this many pixels below Frame1.
inline constexpr int kFrameGap = 2;
// Frame1's designed width for a 500-pixel picture.
inline constexpr int kFrame1DesignWidth = 509;

// Pictures within this size fit the window as they always have; only larger
// ones are bounded by the screen.
inline constexpr int kBannerPictureWidth = 1000;
inline constexpr int kBannerPictureHeight = 200;

struct WindowFit {
  int widthTwips = 0;    // the window's outer width
  int heightTwips = 0;   // the window's outer height
  int frame1Width = 0;   // pixels; widened with the window
  int frame1Height = 0;  // pixels
  int frame2Top = 0;     // pixels, in the window's client coordinates
  // The area that shows the picture, scroll bars included: the picture's
  // own size, or less where the screen has no room and the views scroll.
  int viewWidth = 0;
  int viewHeight = 0;
};

// The largest picture area the screen leaves room for beside the rest of the
// window, in pixels (0 = unbounded), and how thick a scroll bar is.
struct ScreenRoom {
  int width = 0;
  int height = 0;
  int scrollBar = 0;
};

// The fit for a source picture area of width x height logical pixels (the
// views' size, which on a scaled screen is not the picture's size in banner
// pixels: intake/device_pixels.h; the empty 500 x 100 area when nothing is
// loaded); frame1Top is Frame1's top in pixels. An area larger than
// 1000 x 200 is shown at most as large as the room, never scaled down, with
// scroll bars for the rest.
WindowFit fitWindow(int width, int height, int frame1Top, const ScreenRoom& room = {});

constexpr int pixelsToTwips(int px) { return px * kTwipsPerPixel; }
// Rounds to the nearest pixel (halves up): twips are never negative here.
constexpr int twipsToPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

}  // namespace app
