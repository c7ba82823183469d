#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

class DesignControl;

// Content this version does not read, kept as its exact source text so that
// it is written back where it stood: after the known element named `after`
// (lower case; empty for the start).
struct ForeignElement {
  QString after;
  QString text;
  bool operator==(const ForeignElement &) const = default;
};

// The design-time description of one control: everything its visible control
// cannot hold. Plain data; the only behaviour is the panel-name placeholder
// rule of HWMapInternalName.
class clsControlDetails {
 public:
  DesignControl *cntrlObject = nullptr;  // not owned
  qint32 lngPictResizeIndex = 0;
  QString strPictureUpOnOrigPath;
  QString strPictureUpOffOrigPath;
  QString strPictureDownOnOrigPath;
  QString strPictureDownOffOrigPath;
  QString strFlashPictureOrigPath;

  QString BackColorOn;
  QString BackColorOff;
  QString ForeColor;
  QString State;
  QString Click;
  QString MouseDown;
  QString MouseUp;
  QString PictureUpOn;
  QString PictureUpOff;
  QString PictureDownOn;
  QString PictureDownOff;
  QString FlashPicture;
  bool Flash = false;
  bool Enabled = false;
  QString MapRouter;
  QString MapSource;
  QString MapDestination;
  QString HWMapType;
  QString HWMapHostIP;
  QString HWMapHostPort;
  QString HWMapAoipSysName;
  QString WebURL;
  qint32 MeterIONumber = 0;
  bool MeterIsSource = false;
  qint32 MeterRouterNumber = 0;
  qint32 MeterScale = 0;
  qint32 MeterStyle = 0;
  QString LevelLineColor = QStringLiteral("&HE0E0E0");
  qint16 DecayRate = 0;
  qint16 CenterPad = 0;
  float FaderNominal = 0.0f;
  bool HideGainValue = false;
  // Child elements and comments of the control element the reader does not use.
  std::vector<ForeignElement> foreign;

  const QString &HWMapInternalName() const { return m_HWMapInternalName; }
  // Stores the value; a "$$PanelName$$" placeholder (any case) becomes the
  // base name of the panel's file once the panel has one.
  void setHWMapInternalName(const QString &value);

  bool operator==(const clsControlDetails &) const = default;

 private:
  QString m_HWMapInternalName;
};

// Replaces every "$$PanelName$$" (any case) by the base name of the file
// path, when the path has an extension after its last separator.
QString ApplyPanelNamePlaceholder(const QString &value, const QString &panelPath);
