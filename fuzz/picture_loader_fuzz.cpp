// The whole source loader, Qt's decoders included: bytes in, a picture within
// the size limit or a refusal with a message out.
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const intake::LoadResult r =
      intake::loadPictureData(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  if (r.status == intake::LoadStatus::Loaded) {
    const auto& p = r.picture;
    if (p.isEmpty() || p.width() != r.width || p.height() != r.height) std::abort();
    if (p.width() > intake::kMaxWidth || p.height() > intake::kMaxHeight) std::abort();
  } else if (r.message.empty() || r.status == intake::LoadStatus::NotFound) {
    std::abort();
  }
  return 0;
}
