// The image file writer (Module1): the procedures every save run calls. They
// report only through their results and never show anything.
//
// The conversions take the image library as a last argument (the default one
// unless a test puts another behind them).
#pragma once

#include <cstdint>
#include <string>

#include "core/picture.h"
#include "play/animation_plan.h"
#include "frame_files/image_library.h"
#include "frame_files/write_status.h"

namespace output {

// n formatted with "000": at least three digits, zero-padded (1000 stays
// 1000, -5 gives "-005").
std::string formatNumber(int n);

// Loads the BMP file, encodes it as JPEG (settingA: quality, callers pass 100;
// settingB: 0 = baseline with no chroma subsampling, callers pass 0) and
// releases the image. True when the JPEG file was written; false when the BMP
// could not be read or the encoder failed. Never throws.
bool BmpToJpg(const std::string& jpgName, const std::string& bmpName, std::int16_t settingA, std::int16_t settingB,
              ImageLibrary& lib = defaultImageLibrary());

// The same for one GIF file; option (callers pass 0) goes to DIBtoGIF.
bool BmpToGif(const std::string& gifName, const std::string& bmpName, std::int16_t& option,
              ImageLibrary& lib = defaultImageLibrary());

// Loads basePath + number + frameExt for the numbers 0..last into handle slots
// 0..last and, when backAndForth, the numbers last-1..1 into slots
// last+1..2*last-1, then writes them with DIBtoGIFAni as one looping animated
// GIF, `interval` hundredths of a second per image. numberFormat is a run of
// "0"s giving the minimum number of digits ("000" at every call). A failed
// load releases every handle loaded so far and writes nothing. After the
// DIBtoGIFAni call every handle is released here, exactly once. True when the
// file was written. Never throws.
bool MakeGifAnimation(const std::string& gifName, const std::string& basePath, const std::string& numberFormat,
                      const std::string& frameExt, std::int32_t last, std::int16_t interval, bool backAndForth,
                      ImageLibrary& lib = defaultImageLibrary());

// The same for an animation that shows the files in the plan's order with
// its timing (DIBtoGIFAniTimed): plan.files[i] is the file number loaded
// into slot i, so one file may fill several slots. Loads, releases and
// reports exactly as above; an empty plan writes nothing.
bool MakeGifAnimation(const std::string& gifName, const std::string& basePath, const std::string& numberFormat,
                      const std::string& frameExt, const AnimationPlan& plan,
                      ImageLibrary& lib = defaultImageLibrary());

// Writes a picture as a 24-bit uncompressed BMP file (SavePicture). The file
// is complete or, on failure, left as it was; the status then names the file
// and the system's reason. The empty picture cannot be saved.
WriteStatus SavePicture(const core::Picture& picture, const std::string& fileName);

// The frame output step for file number `number`: writes base + NNN + ".bmp",
// then with saveExt ".jpg" converts it (and deletes the BMP when that worked),
// with ".gif" outside an animation run likewise. A conversion the encoder
// gives up on keeps the BMP and is not an error; a BMP, JPEG or GIF file that
// the system refuses to take (disk full, no permission, folder gone) is.
WriteStatus writeFrame(const core::Picture& frame, const std::string& base, int number, const std::string& saveExt,
                       bool animationRun, ImageLibrary& lib = defaultImageLibrary());

}  // namespace output
