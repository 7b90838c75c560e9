#include "effects/compose_steps.h"

#include <cstddef>

#include "core/mask.h"

namespace effects::steps {

core::Color cornerColor(const WorkState& ws) { return ws.picSource.point(0, 0); }

core::Color runBackground(const WorkState& ws, const Options& options, MaskBox box) {
  return options.mask[static_cast<std::size_t>(box)] ? options.bannerColor : cornerColor(ws);
}

void setBackColors(WorkState& ws, core::Color c) {
  ws.picX.setBackColor(c);
  ws.picTurn.setBackColor(c);
}

void layTurnOverX(WorkState& ws, bool mask) {
  if (!mask) {
    ws.picX.setPicture(ws.picTurn.image());
    return;
  }
  core::BuildMask(ws.picSource, ws.picTurn, ws.picMask);
  ws.picX.clear();
  core::MaskThenSourceBlit(ws.picX, ws.picMask, ws.picTurn, ws.picSource.width(), ws.picSource.height());
}

void finishFrame(WorkState& ws, bool mask, int k, Unmasked unmasked) {
  if (!mask && unmasked == Unmasked::StoreTurn) {
    storeFrame(ws, k, ws.picTurn.image());
    return;
  }
  layTurnOverX(ws, mask);
  storeFrame(ws, k, ws.picX.image());
}

void storeFrame(WorkState& ws, int k, const core::Picture& frame) {
  const auto index = static_cast<std::size_t>(k);
  if (index >= ws.mFrames.size()) ws.mFrames.resize(index + 1);
  ws.mFrames[index] = frame;
}

std::string playbackLabel(EffectKind kind, int number) {
  std::string digits = std::to_string(number);
  if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
  return "BaseName" + std::string(info(kind).tag) + digits + ".bmp";
}

}  // namespace effects::steps
