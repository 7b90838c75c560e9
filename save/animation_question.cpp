#include "save/animation_question.h"

namespace save {

std::optional<AnimationFormat> askedFormat(const std::string& ext) {
  if (ext == ".gif") return AnimationFormat::Gif;
  if (ext == ".webp") return AnimationFormat::Webp;
  return std::nullopt;
}

std::optional<AnimationAnswer> askSave(const AnimationQuestion& question, const std::string& ext,
                                       const output::AnimationShape& shape, FramesByFile frames) {
  const std::optional<AnimationFormat> format = askedFormat(ext);
  if (!format) return AnimationAnswer{};
  if (!question) return std::nullopt;
  std::optional<AnimationAnswer> answer = question(AnimationAsk{*format, shape, std::move(frames)});
  if (answer && *format == AnimationFormat::Webp) {
    answer->animated = true;
    answer->animation.play.preset = output::AdPreset::None;
    answer->animation.play.budgetBytes = 0;
    answer->animation.measured.reset();
  }
  // A measurement belongs to an animated GIF only.
  if (answer && !answer->animated) answer->animation.measured.reset();
  return answer;
}

}  // namespace save
