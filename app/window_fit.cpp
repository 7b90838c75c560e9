#include "app/window_fit.h"

namespace app {

WindowFit fitWindow(int width, int height, int frame1Top) {
  WindowFit fit;
  const int shownWidth = width > kDesignPictureWidth ? width : kDesignPictureWidth;
  fit.widthTwips = pixelsToTwips(shownWidth) + kExtraWidthTwips;
  fit.frame1Width = kFrame1DesignWidth + (shownWidth - kDesignPictureWidth);
  if (height > kDesignPictureHeight) {
    fit.frame1Height = height + kFrame1ExtraHeight;
    fit.frame2Top = frame1Top + fit.frame1Height + kFrameGap;
    fit.heightTwips = pixelsToTwips(height - kDesignPictureHeight) + kDesignHeightTwips;
  } else {
    fit.frame1Height = kDesignPictureHeight + kFrame1ExtraHeight;
    fit.frame2Top = frame1Top + kDesignPictureHeight + kFrame1ExtraHeight + kFrameGap;
    fit.heightTwips = kDesignHeightTwips;
  }
  return fit;
}

}  // namespace app
