#include "model/settings.h"

ProgramSettings &programSettings() {
  static ProgramSettings settings;
  return settings;
}
