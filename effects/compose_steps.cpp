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

namespace {

bool surfacesMatchSource(const WorkState& ws) {
  const int w = ws.picSource.width();
  const int h = ws.picSource.height();
  return ws.hasSource() && ws.picTurn.width() == w && ws.picTurn.height() == h && ws.picX.width() == w &&
         ws.picX.height() == h;
}

std::size_t sourcePixels(const WorkState& ws) {
  return static_cast<std::size_t>(ws.picSource.width()) * static_cast<std::size_t>(ws.picSource.height());
}

}  // namespace

const core::Color* overPixels(const WorkState& ws) {
  if (ws.picOver.isEmpty() || !surfacesMatchSource(ws)) return nullptr;
  if (ws.picOver.width() != ws.picSource.width() || ws.picOver.height() != ws.picSource.height()) return nullptr;
  return ws.picOver.bitmap()->px.data();
}

void clearToBackground(const WorkState& ws, core::Surface& surface) {
  const core::Color* over = overPixels(ws);
  if (!over || surface.width() != ws.picOver.width() || surface.height() != ws.picOver.height()) {
    surface.clear();
    return;
  }
  core::Color* px = surface.clearForOverwrite(surface.backColor());
  const std::size_t n = sourcePixels(ws);
  for (std::size_t i = 0; i < n; ++i) px[i] = over[i] & 0x00FFFFFFu;
}

core::Color openCompose(RunContext& ctx, MaskBox box, int lastFrame, bool showProgress) {
  WorkState& ws = ctx.ws;
  if (showProgress) {
    openRun(ctx, lastFrame);
  } else {
    redimFrames(ws, lastFrame);
  }
  const core::Color back = runBackground(ws, ctx.options, box);
  setBackColors(ws, back);
  clearToBackground(ws, ws.picX);
  clearToBackground(ws, ws.picTurn);
  return back;
}

void layTurnOverX(WorkState& ws, bool mask) {
  if (!mask) {
    ws.picX.setPicture(ws.picTurn.image());
    return;
  }
  if (!surfacesMatchSource(ws)) {
    core::BuildMask(ws.picSource, ws.picTurn, ws.picMask);
    ws.picX.clear();
    core::MaskThenSourceBlit(ws.picX, ws.picMask, ws.picTurn, ws.picSource.width(), ws.picSource.height());
    return;
  }
  // The same in one pass. picX cleared to B, the mask white where picTurn's
  // pixel S differs from the corner colour c and black where it equals it:
  // (B OR white) AND S is S, and (B OR black) AND S is B AND c.
  const core::Color corner = cornerColor(ws);
  const core::Color* over = overPixels(ws);
  const core::Color under = core::storedColor(ws.picX.backColor()) & corner;
  const core::Color* turn = ws.picTurn.bits();
  core::Color* x = ws.picX.clearForOverwrite(ws.picX.backColor());  // every pixel is written below
  const std::size_t n = sourcePixels(ws);
  if (over) {
    for (std::size_t i = 0; i < n; ++i) x[i] = (turn[i] != corner) ? (turn[i] & 0x00FFFFFFu) : (over[i] & corner);
    return;
  }
  for (std::size_t i = 0; i < n; ++i) x[i] = (turn[i] != corner) ? (turn[i] & 0x00FFFFFFu) : under;
}

void settleMask(WorkState& ws, bool mask) {
  if (mask) core::BuildMask(ws.picSource, ws.picTurn, ws.picMask);
}

void finishFrame(WorkState& ws, bool mask, int k, Unmasked unmasked) {
  if (!mask && unmasked == Unmasked::StoreTurn) {
    storeFrame(ws, k, ws.picTurn.image());
    return;
  }
  layTurnOverX(ws, mask);
  storeFrame(ws, k, ws.picX.image());
}

void redimFrames(WorkState& ws, int upper) { ws.mFrames.assign(static_cast<std::size_t>(upper) + 1, core::Picture{}); }

void openRun(RunContext& ctx, int lastFrame) {
  ctx.host.setControlsEnabled(false, false);
  ctx.progress(0.0);
  ctx.progressVisible(true);
  redimFrames(ctx.ws, lastFrame);
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
