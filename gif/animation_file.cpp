#include "gif/animation_file.h"

#include <cstdio>
#include <initializer_list>
#include <string>

#include "gif/gif_fit.h"
#include "play/play_texts.h"

namespace output {

namespace {

// The pattern with each "{}" replaced by the next value (numbers only here,
// so no spacing rule of animation_plan.cpp applies).
std::string fillText(const std::string& pattern, std::initializer_list<std::string> values) {
  std::string out;
  auto next = values.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern.compare(i, 2, "{}") == 0 && next != values.end()) {
      out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace

bool AnimationRequest::operator==(const AnimationRequest& o) const {
  return frames == o.frames && shape.last == o.shape.last && shape.backAndForth == o.shape.backAndForth &&
         shape.restFile == o.shape.restFile && shape.width == o.shape.width && shape.height == o.shape.height &&
         shape.extraCs == o.shape.extraCs && shape.delayCs == o.shape.delayCs &&
         intervalCs == o.intervalCs && play.plays == o.play.plays && play.holdCs == o.play.holdCs &&
         play.preset == o.play.preset && play.budgetBytes == o.play.budgetBytes &&
         plainWhenWithin == o.plainWhenWithin;
}

std::optional<AnimationFile> encodeAnimationFile(const AnimationRequest& request, const CancelFlag* cancel,
                                                 WorkProgress* progress) {
  if (!request.frames || request.shape.last < 0 ||
      request.frames->size() < static_cast<std::size_t>(request.shape.last) + 1) {
    return std::nullopt;
  }
  const AnimationPlan plan = planAnimation(request.shape, request.intervalCs, request.play);
  std::vector<const core::Bitmap*> frames;
  frames.reserve(plan.files.size());
  for (int file : plan.files) frames.push_back(&(*request.frames)[static_cast<std::size_t>(file)]);

  AnimationFile out;
  out.budget = request.play.budgetBytes;
  if (out.budget == 0) {
    std::optional<EncodedGif> plain = encodeGifAtQuality(frames, plan.timing, 100, cancel, progress);
    if (!plain) return std::nullopt;
    if (progress) progress->finish();
    out.bytes = std::move(plain->bytes);
    out.psnr = plain->psnr;
    out.quality = plain->quality;
    return out;
  }
  std::optional<FittedGif> fitted =
      fitGifAnimation(frames, plan.timing, out.budget, cancel, request.plainWhenWithin, progress);
  if (!fitted) return std::nullopt;
  if (progress) progress->finish();
  // Quality 100 within the budget is the plain file only in that mode: a
  // file over it is fitted below 100, and a finer one says so.
  if (request.plainWhenWithin && fitted->fits && fitted->quality == 100 && !fitted->finer) out.budget = 0;
  out.bytes = std::move(fitted->bytes);
  out.psnr = fitted->psnr;
  out.quality = fitted->quality;
  out.fits = fitted->fits;
  return out;
}

std::string overBudgetQuestion(const AnimationFile& file, const TextTranslator& translate) {
  char psnr[32];
  std::snprintf(psnr, sizeof psnr, "%.1f", file.psnr);
  const auto pattern = [&](const char* text) { return translate ? translate(text, -1) : std::string(text); };
  return fillText(pattern(text::kOverBudgetLimit), {groupedNumber(file.budget)}) + "\n" +
         fillText(pattern(text::kOverBudgetSmallest), {groupedNumber(file.bytes.size()), psnr}) + "\n" +
         pattern(text::kOverBudgetAsk);
}

}  // namespace output
