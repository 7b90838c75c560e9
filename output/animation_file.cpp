#include "output/animation_file.h"

#include "output/gif_fit.h"

namespace output {

bool AnimationRequest::operator==(const AnimationRequest& o) const {
  return frames == o.frames && shape.last == o.shape.last && shape.backAndForth == o.shape.backAndForth &&
         shape.restFile == o.shape.restFile && shape.width == o.shape.width && shape.height == o.shape.height &&
         intervalCs == o.intervalCs && play.plays == o.play.plays && play.holdCs == o.play.holdCs &&
         play.preset == o.play.preset && play.budgetKb == o.play.budgetKb;
}

std::optional<AnimationFile> encodeAnimationFile(const AnimationRequest& request, const CancelFlag* cancel) {
  if (!request.frames || request.shape.last < 0 ||
      request.frames->size() < static_cast<std::size_t>(request.shape.last) + 1) {
    return std::nullopt;
  }
  const AnimationPlan plan = planAnimation(request.shape, request.intervalCs, request.play);
  std::vector<const core::Bitmap*> frames;
  frames.reserve(plan.files.size());
  for (int file : plan.files) frames.push_back(&(*request.frames)[static_cast<std::size_t>(file)]);

  AnimationFile out;
  out.budget = request.play.budgetBytes();
  if (out.budget == 0) {
    std::optional<EncodedGif> plain = encodeGifAnimation(frames, plan.timing, 100, cancel);
    if (!plain) return std::nullopt;
    out.bytes = std::move(plain->bytes);
    out.psnr = plain->psnr;
    out.quality = plain->quality;
    return out;
  }
  std::optional<FittedGif> fitted = fitGifAnimation(frames, plan.timing, out.budget, cancel);
  if (!fitted) return std::nullopt;
  out.bytes = std::move(fitted->bytes);
  out.psnr = fitted->psnr;
  out.quality = fitted->quality;
  out.fits = fitted->fits;
  return out;
}

}  // namespace output
