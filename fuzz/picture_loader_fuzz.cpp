// The whole source loader, Qt's decoders included: bytes in, a picture within
// the size limit in force or a refusal with a message out, under both limits.
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QtGlobal>

#include "intake/picture_loader.h"

namespace {
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qInstallMessageHandler(quiet);  // corrupt-data warnings would flood the log
  return 0;
}

namespace {
void check(const QByteArray& bytes, const intake::SizeLimit& limit) {
  const intake::LoadResult r = intake::loadPictureData(bytes, limit);
  if (r.status == intake::LoadStatus::Loaded) {
    const auto& p = r.picture;
    if (p.isEmpty() || p.width() != r.width || p.height() != r.height) std::abort();
    if (p.width() > limit.width || p.height() > limit.height) std::abort();
  } else if (r.message.empty() || r.status == intake::LoadStatus::NotFound) {
    std::abort();
  } else if (r.status == intake::LoadStatus::TooLarge && r.message != limit.message) {
    std::abort();
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  check(bytes, intake::kBannerLimit);
  check(bytes, intake::kLargeLimit);
  return 0;
}
