#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "model/controldetails.h"

// The panel-level settings and the ordered control records of one panel.
class clsPanelDetails {
 public:
  QString strPictureOrigPath;
  std::vector<std::unique_ptr<clsControlDetails>> CollControls;  // creation (file) order
  QString strPanelPath;
  QString BackColorOn;
  QString BackColorOff;
  QString strPicture;
  QString strOnload;
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
