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
// rule of hwMapInternalName.
class ControlRecord {
 public:
  DesignControl *control = nullptr;  // not owned
  qint32 frameIndex = 0;
  QString pictureUpOnSourcePath;
  QString pictureUpOffSourcePath;
  QString pictureDownOnSourcePath;
  QString pictureDownOffSourcePath;
  QString flashPictureSourcePath;

  QString backColorOn;
  QString backColorOff;
  QString foreColor;
  QString state;
  QString click;
  QString mouseDown;
  QString mouseUp;
  QString pictureUpOn;
  QString pictureUpOff;
  QString pictureDownOn;
  QString pictureDownOff;
  QString flashPicture;
  bool flash = false;
  bool enabled = false;
  QString mapRouter;
  QString mapSource;
  QString mapDestination;
  QString hwMapType;
  QString hwMapHostIP;
  QString hwMapHostPort;
  QString hwMapAoipSysName;
  QString webURL;
  qint32 meterIONumber = 0;
  bool meterIsSource = false;
  qint32 meterRouterNumber = 0;
  qint32 meterScale = 0;
  qint32 meterStyle = 0;
  QString levelLineColor = QStringLiteral("&HE0E0E0");
  qint16 decayRate = 0;
  qint16 centerPad = 0;
  float faderNominal = 0.0f;
  bool hideGainValue = false;
  // Child elements and comments of the control element the reader does not use.
  std::vector<ForeignElement> foreign;

  const QString &hwMapInternalName() const { return m_hwMapInternalName; }
  // Stores the value; a "$$PanelName$$" placeholder (any case) becomes the
  // base name of the panel's file once the panel has one.
  void setHWMapInternalName(const QString &value);

  bool operator==(const ControlRecord &) const = default;

 private:
  QString m_hwMapInternalName;
};

// Replaces every "$$PanelName$$" (any case) by the base name of the file
// path, when the path has an extension after its last separator.
QString applyPanelNamePlaceholder(const QString &value, const QString &panelPath);
