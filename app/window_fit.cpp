#include "app/window_fit.h"

#include <algorithm>

namespace app {

namespace {

// The area the views take on the screen: the picture, or as much as the room
// allows with the scroll bars that then appear (a bar across takes height,
// which may call for the bar down the side too).
void boundView(int width, int height, const ScreenRoom& room, WindowFit& fit) {
  const bool across = room.width > 0 && width > room.width;
  int w = across ? room.width : width;
  int h = height + (across ? room.scrollBar : 0);
  if (room.height > 0 && h > room.height) {
    h = room.height;
    if (!across) w = room.width > 0 ? std::min(width + room.scrollBar, room.width) : width + room.scrollBar;
  }
  fit.viewWidth = w;
  fit.viewHeight = h;
}

}  // namespace

WindowFit fitWindow(int width, int height, int frame1Top, const ScreenRoom& room) {
  WindowFit fit;
  fit.viewWidth = width;
  fit.viewHeight = height;
  if (width > kBannerPictureWidth || height > kBannerPictureHeight) boundView(width, height, room, fit);
  const int areaWidth = fit.viewWidth;
  const int areaHeight = fit.viewHeight;
  const int shownWidth = areaWidth > kDesignPictureWidth ? areaWidth : kDesignPictureWidth;
  fit.widthTwips = pixelsToTwips(shownWidth) + kExtraWidthTwips;
  fit.frame1Width = kFrame1DesignWidth + (shownWidth - kDesignPictureWidth);
  if (areaHeight > kDesignPictureHeight) {
    fit.frame1Height = areaHeight + kFrame1ExtraHeight;
    fit.frame2Top = frame1Top + fit.frame1Height + kFrameGap;
    fit.heightTwips = pixelsToTwips(areaHeight - kDesignPictureHeight) + kDesignHeightTwips;
  } else {
    fit.frame1Height = kDesignPictureHeight + kFrame1ExtraHeight;
    fit.frame2Top = frame1Top + kDesignPictureHeight + kFrame1ExtraHeight + kFrameGap;
    fit.heightTwips = kDesignHeightTwips;
  }
  return fit;
}

}  // namespace app
