#include "model/settings.h"

ProgramSettings &Settings() {
  static ProgramSettings settings;
  return settings;
}
