#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "model/controlrecord.h"

// The panel-level settings and the ordered control records of one panel.
class PanelRecord {
 public:
  QString pictureSourcePath;
  std::vector<std::unique_ptr<ControlRecord>> records;  // creation (file) order
  QString panelPath;
  QString backColorOn;
  QString backColorOff;
  QString picture;
  QString onLoad;
  // Panel-level elements the reader does not use, kept in place.
  std::vector<ForeignElement> foreign;
  // Comments and processing instructions between the control elements,
  // kept whole; each is written before the record at `position`.
  struct ForeignControl {
    size_t position = 0;
    QString text;
  };
  std::vector<ForeignControl> foreignControls;
};
