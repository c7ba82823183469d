// The reader of recovery copies: any bytes are read or refused without a
// crash, and a copy it reads is written back to bytes it reads the same.
#include "app/recoveryfile.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  RecoveryFile read;
  if (!readRecoveryBytes(bytes, &read)) return 0;
  RecoveryFile again;
  FUZZ_CHECK(readRecoveryBytes(recoveryFileBytes(read), &again));
  FUZZ_CHECK(again.panelName == read.panelName);
  FUZZ_CHECK(again.windowPath == read.windowPath);
  FUZZ_CHECK(again.panelPath == read.panelPath);
  FUZZ_CHECK(again.document == read.document);
  FUZZ_CHECK(again.original.has_value() == read.original.has_value());
  FUZZ_CHECK(!read.original || (again.original->size == read.original->size &&
                                again.original->hash == read.original->hash));
  return 0;
}
