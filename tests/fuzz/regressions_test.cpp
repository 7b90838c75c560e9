// What each input the fuzzers found must give, exactly.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "intake/picture_header.h"
#include "intake/picture_loader.h"
#include "frame_files/bmp_codec.h"

namespace {

std::vector<std::uint8_t> kept(const std::string& rel) {
  std::ifstream in(std::string(PICTORELL_REGRESSIONS) + "/" + rel, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The masks of a 32-bit BITFIELDS file were read at a fixed place even when
// a 41- to 51-byte header left them past the end of the file.
TEST(FuzzRegressions, BmpReaderRefusesMasksPastTheEnd) {
  const auto bytes = kept("fuzz_bmp_reader/bitfields-header-ends-inside-masks.bmp");
  ASSERT_EQ(bytes.size(), 56u);
  EXPECT_FALSE(output::decodeBmp(bytes).has_value());
}

// A scan header longer than the file let the JPEG header count as complete,
// with the scan starting past the end.
TEST(FuzzRegressions, JpegScanHeaderPastTheEndIsTruncation) {
  const auto bytes = kept("fuzz_picture_header/jpeg-scan-header-past-end.jpg");
  intake::MemorySource src(bytes.data(), bytes.size());
  const auto h = intake::readJpegHeader(src);
  EXPECT_FALSE(h.valid);
  EXPECT_EQ(h.problem, "JPEG ファイルが途中で切れています。(画像データがありません)");
  const auto r = intake::loadPictureData(
      QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
  EXPECT_EQ(r.status, intake::LoadStatus::Unreadable);
  EXPECT_EQ(r.message, h.problem);
}

}  // namespace
