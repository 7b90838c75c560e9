#include "framelist/window_position.h"

namespace framelist {

StoredRect clampFramesRect(StoredRect stored, int screenWidth, int screenHeight, int mainWidth, int mainHeight) {
  if (stored.top < 0 || stored.top > screenHeight - mainHeight) stored.top = 0;
  if (stored.left < 0 || stored.left > screenWidth - mainWidth) stored.left = 0;
  return stored;
}

}  // namespace framelist
