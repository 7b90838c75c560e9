// Running encoders, decoding their GIFs independently and scoring them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/picture.h"

namespace gifbench {

// PSNR as the encoder measures it (gif/shown_quality.h): frames decoded
// equal count as core::kExactFrameDb (100 dB).
struct Score {
  double meanPsnr = 0.0;  // dB
  double minPsnr = 0.0;   // dB
  int exactFrames = 0;
  std::vector<double> perFrame;  // dB, in order
};

// Wall-clock seconds of a shell command, or nullopt when it failed.
std::optional<double> timeCommand(const std::string& command);

// True when the program is on the PATH.
bool haveProgram(const std::string& name);

// ImageMagick's convert: Debian's versioned name when there, so that no
// wrapper of the same name adds its start-up time.
std::string convertProgram();

// The GIF's frames as ImageMagick composes them (-coalesce), each repeated
// by its delay in units of `frameDelay`, so that encoders that merge equal
// frames still line up. nullopt when decoding fails.
std::optional<std::vector<core::Bitmap>> decodeFrames(const std::string& gifPath, int width, int height,
                                                      int frameDelay);

// Scores the decoded frames against the frames given to the encoder.
// nullopt when the counts differ.
std::optional<Score> score(const std::vector<core::Picture>& given, const std::vector<core::Bitmap>& decoded);

double median(std::vector<double> values);

}  // namespace gifbench
