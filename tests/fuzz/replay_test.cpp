// Runs every input kept under regressions/<target>/ through that fuzz
// target's entry point, as the fuzzer did when the input first went wrong.
// The target aborts on a broken invariant; the sanitizer build catches
// reads outside the input.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

TEST(FuzzReplay, EveryKeptInputPasses) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(nullptr, nullptr);
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(PICTORELL_REPLAY_DIR)) {
    SCOPED_TRACE(entry.path().filename().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
}
