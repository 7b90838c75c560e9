#include "effects/work_state.h"

namespace effects {

core::Color acceptSource(WorkState& ws, const core::Picture& picture) {
  const int w = picture.width();
  const int h = picture.height();
  ws.emptyCache();
  ws.picTurn.resize(w, h);
  ws.picTurn.setPicture(picture);
  ws.picSource.resize(w, h);
  const core::Color corner = ws.picTurn.point(0, 0);
  ws.picX.resize(w, h);
  ws.picX.setBackColor(corner);
  ws.picX.setPicture(picture);
  ws.picTurn.setBackColor(corner);
  ws.picSource.setPicture(ws.picTurn.image());
  return corner;
}

}  // namespace effects
