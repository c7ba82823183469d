#include "model/processsetup.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

void keepFreedMemoryForReuse() {
#ifdef __GLIBC__
  constexpr int kMiB = 1024 * 1024;
  mallopt(M_MMAP_THRESHOLD, 64 * kMiB);   // blocks below this come from the reused heap
  mallopt(M_TRIM_THRESHOLD, 256 * kMiB);  // free memory kept before any is returned
#endif
}
