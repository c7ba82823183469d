#pragma once

#include "model/nodialogsui.h"

// Answers every question with Ok and records nothing: for programs that run
// no dialogs (benchmarks, fuzz targets).
class QuietUi : public NoDialogsUi {
 public:
  Answer message(const QString &, Buttons, const QString &) override { return Answer::Ok; }
};
