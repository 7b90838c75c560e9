#include "core/memory_tuning.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace core {

void keepFreedFramesForReuse() {
#if defined(M_MMAP_THRESHOLD) && defined(M_TRIM_THRESHOLD)
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

}  // namespace core
