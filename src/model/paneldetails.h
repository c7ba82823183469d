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
};
