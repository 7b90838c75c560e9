#include "save/save_step.h"

#include <filesystem>
#include <new>

#include "frame_files/file_io.h"
#include "webp/webp_encoder.h"
#include "frame_files/writer.h"

namespace save {

namespace {

bool fileExists(const std::string& name) {
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::path(name), ec);
}

// What the save left of frames 0..count-1: a frame's BMP where it stayed,
// else its converted file.
std::vector<std::string> frameFilesLeft(const SaveTarget& target, int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    const std::string bmp = target.frameName(i, ".bmp");
    const std::string converted = target.frameName(i, target.ext);
    if (fileExists(bmp))
      names.push_back(bmp);
    else if (fileExists(converted))
      names.push_back(converted);
  }
  return names;
}

void removeFrameBmps(const SaveTarget& target, int count) {
  for (int i = 0; i < count; ++i) output::removeFile(target.frameName(i, ".bmp"));
}

class Save {
 public:
  Save(const SaveRequest& request, OverBudgetQuestion* question, AnimationEncoder encoder)
      : r_(request), question_(question), encoder_(std::move(encoder)) {
    if (!encoder_)
      encoder_ = [](const output::AnimationRequest& a) { return output::encodeAnimationFile(a); };
  }

  SaveReport run() {
    const int count = r_.frames ? static_cast<int>(r_.frames->size()) : 0;
    if (count == 0) return report_;
    if (!r_.animated) {
      writeFrameFiles(count, false);
      report_.files = frameFilesLeft(r_.target, count);
      return report_;
    }
    if (r_.target.ext == ".webp") {
      writeWebp(count);
    } else if (budget() > 0) {
      writeFittedGif();
    } else {
      writeGif(count);
    }
    return report_;
  }

 private:
  std::size_t budget() const { return r_.animation.play.budgetBytes; }

  output::AnimationRequest animationRequest(std::size_t budgetBytes = 0, bool plainWhenWithin = false) const {
    output::AnimationRequest a;
    a.frames = r_.frames;
    a.shape = r_.shape;
    a.shape.last = static_cast<int>(r_.frames->size()) - 1;
    a.intervalCs = r_.animation.intervalCs;
    a.play = r_.animation.play;
    a.play.budgetBytes = budgetBytes;
    a.plainWhenWithin = budgetBytes > 0 && plainWhenWithin;
    return a;
  }

  std::optional<output::AnimationFile> encode(std::size_t budgetBytes, bool plainWhenWithin = false) {
    try {
      return encoder_(animationRequest(budgetBytes, plainWhenWithin));
    } catch (const std::bad_alloc&) {
      return std::nullopt;
    }
  }

  // Frames 0..count-1 as numbered files; false once one could not be written.
  bool writeFrameFiles(int count, bool forAnimation) {
    for (int i = 0; i < count; ++i) {
      const core::Picture frame(std::make_shared<const core::Bitmap>((*r_.frames)[static_cast<std::size_t>(i)]));
      output::WriteStatus st = output::writeFrame(frame, r_.target.base(), i, r_.target.ext, forAnimation);
      if (!st) {
        report_.status = std::move(st);
        report_.files = frameFilesLeft(r_.target, i);
        return false;
      }
    }
    return true;
  }

  // The one animated file from bytes made in memory. The frame BMPs come
  // first, as every save writes them, and stay when the file cannot be
  // written, so a failed save still leaves the frames.
  void writeJoined(int count, const std::optional<std::vector<std::uint8_t>>& bytes) {
    const std::string name = r_.target.animationName();
    (void)output::takeLastWriteFailure();
    // An encoder that gives up is no write error: the frames stay as BMPs.
    if (bytes) report_.status = output::replaceFile(name, *bytes);
    if (bytes && report_.status) {
      removeFrameBmps(r_.target, count);
      report_.files = {name};
      return;
    }
    report_.files = frameFilesLeft(r_.target, count);
  }

  void writeGif(int count) {
    if (!writeFrameFiles(count, true)) return;
    const std::int64_t preset = r_.animation.presetBudgetWhenOver
                                    ? output::byteBudget(r_.animation.play.preset, r_.shape.width, r_.shape.height)
                                    : 0;
    const auto over = static_cast<std::size_t>(preset > 0 ? preset : 0);
    // One encoding either way: the plain file when it is within the preset's
    // budget, else the fitted one.
    std::optional<output::AnimationFile> file = encode(over, true);
    if (file && file->budget > 0) {
      removeFrameBmps(r_.target, count);  // the plain file is not written
      fitAndWrite(over, std::move(file));
      return;
    }
    writeJoined(count, file ? std::optional(file->bytes) : std::nullopt);
    if (file && report_.status && report_.files.size() == 1) keepGif(std::move(*file));
  }

  void writeWebp(int count) {
    if (!writeFrameFiles(count, true)) return;
    const output::AnimationRequest a = animationRequest();
    const output::AnimationPlan plan = output::planAnimation(a.shape, a.intervalCs, a.play);
    std::vector<const core::Bitmap*> sequence;
    for (int file : plan.files) sequence.push_back(&(*r_.frames)[static_cast<std::size_t>(file)]);
    std::optional<std::vector<std::uint8_t>> bytes;
    try {
      bytes = output::encodeWebpAnimation(sequence, plan.timing);
    } catch (const std::bad_alloc&) {
      bytes.reset();
    }
    writeJoined(count, bytes);
  }

  // A budget makes the file one encoding of all frames: written in one
  // piece, without frame files.
  void writeFittedGif() {
    std::optional<output::AnimationFile> measured = r_.animation.measured;
    if (measured && measured->budget != budget()) measured.reset();
    fitAndWrite(budget(), std::move(measured));
  }

  void fitAndWrite(std::size_t budgetBytes, std::optional<output::AnimationFile> file) {
    const std::string name = r_.target.animationName();
    if (!file) file = encode(budgetBytes);
    if (!file) {
      report_.status = output::WriteStatus::failure(name, "the frames could not be encoded");
      return;
    }
    if (!file->fits && question_ && !question_->writeOverBudget(*file)) {
      report_.declined = true;
      return;
    }
    report_.status = output::replaceFile(name, file->bytes);
    if (!report_.status) return;
    report_.files = {name};
    keepGif(std::move(*file));
  }

  void keepGif(output::AnimationFile file) {
    report_.budget = output::budgetReport(r_.animation.play.preset, r_.shape.width, r_.shape.height, file.bytes.size());
    report_.gif = std::move(file);
  }

  const SaveRequest& r_;
  OverBudgetQuestion* question_;
  AnimationEncoder encoder_;
  SaveReport report_;
};

}  // namespace

SaveReport saveFrames(const SaveRequest& request, OverBudgetQuestion* question, const AnimationEncoder& encoder) {
  return Save(request, question, encoder).run();
}

}  // namespace save
