#pragma once

// Shared pieces of the fuzz targets: the input as the program would read it,
// and checks that stop the run when a property the program relies on fails.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "components/datetimestamp.h"
#include "model/textfile.h"

// Stops the run with the condition's text when it does not hold.
#define FUZZ_CHECK(condition)                                      \
  do {                                                             \
    if (!(condition)) {                                            \
      std::fprintf(stderr, "fuzz check failed: %s\n", #condition); \
      __builtin_trap();                                            \
    }                                                              \
  } while (false)

// The input as a file's text (Windows-1252, or UTF-8 after a byte order
// mark). The clock is fixed, so that documents written twice compare.
inline QString fuzzText(const uint8_t *data, size_t size) {
  static const bool fixed = [] {
    DateTimeStamp::setClock([] { return QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7)); });
    return true;
  }();
  (void)fixed;
  return decodeTextFile(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
}
