#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

#include "model/names.h"

class PanelModel;

// The kinds of control a panel holds. The numbers are the kind codes used for
// default names.
enum class ControlKind {
  Button = 0,
  Label = 1,
  WebBrowser = 2,
  Meter = 3,
  MeterFader = 4,
  Clock = 5,
  Kept = 6  // a control this version cannot build, kept as its text
};
constexpr int kControlKindCount = 7;

class DesignControl;

// The type text of a kind as files and the grid use it ("Button", "WebBrowser").
QString typeName(ControlKind kind);
// The type text of a control: its kind's, or a kept control's own Type
// ("(no Type)" when it has none).
QString typeName(const DesignControl &control);
// The default name stem of a kind ("Button", "Meter", ...).
QString nameStem(ControlKind kind);

struct FontSpec {
  QString name = QStringLiteral("Arial");
  double size = 8.25;
  bool bold = true;
  bool underline = false;
  bool italic = false;
  bool operator==(const FontSpec &) const = default;
};

// Something on a panel window that can be current: the canvas or a control.
class DesignObject {
 public:
  virtual ~DesignObject() = default;
  virtual bool isCanvas() const { return false; }
  ObjectName tag;  // the name of the control, or of the panel for the canvas
  bool operator==(const DesignObject &) const = default;
};

// A visible control: geometry in twips, its name in Tag, and the properties
// of its kind. Owned by its panel's control array.
class DesignControl : public DesignObject {
 public:
  virtual ControlKind kind() const = 0;
  virtual std::unique_ptr<DesignControl> clone() const = 0;

  PanelModel *owner() const { return m_owner; }
  int index() const { return m_index; }

  qint32 left = 0;
  qint32 top = 0;
  qint32 width = 0;
  qint32 height = 0;
  bool visible = false;
  QString toolTipText;

  // Same kind and same values in every property (undo compares the states
  // of a control before and after an edit).
  virtual bool sameAs(const DesignControl &other) const = 0;
  // Takes every value of another control of the same kind.
  virtual void assignFrom(const DesignControl &other) = 0;
  bool operator==(const DesignControl &) const = default;

 private:
  friend class PanelModel;
  PanelModel *m_owner = nullptr;
  int m_index = 0;
};

template <class Derived, ControlKind K>
class DesignControlOf : public DesignControl {
 public:
  static constexpr ControlKind Kind = K;
  ControlKind kind() const override { return K; }
  std::unique_ptr<DesignControl> clone() const override {
    return std::make_unique<Derived>(static_cast<const Derived &>(*this));
  }
  bool sameAs(const DesignControl &other) const override {
    return other.kind() == K &&
           static_cast<const Derived &>(*this) == static_cast<const Derived &>(other);
  }
  void assignFrom(const DesignControl &other) override {
    if (other.kind() == K) static_cast<Derived &>(*this) = static_cast<const Derived &>(other);
  }
  bool operator==(const DesignControlOf &) const = default;
};

class DesignButton : public DesignControlOf<DesignButton, ControlKind::Button> {
 public:
  QString caption;  // held exactly as typed; "&" is not an access key here
  FontSpec font;
  qint32 backColor = 0xE0E0E0;
  qint32 foreColor = 0;
  QString picture;      // resolved file of the normal picture, empty for none
  QString downPicture;  // resolved file shown while the button is held down
  bool operator==(const DesignButton &) const = default;
};

class DesignLabel : public DesignControlOf<DesignLabel, ControlKind::Label> {
 public:
  QString text;
  FontSpec font;
  qint32 backColor = 0xFFFFFF;
  qint32 foreColor = 0;
  bool operator==(const DesignLabel &) const = default;
};

class DesignWebBrowser : public DesignControlOf<DesignWebBrowser, ControlKind::WebBrowser> {
 public:
  QString locationURL;  // the address the browser was last told to show
  bool operator==(const DesignWebBrowser &) const = default;
};

// Level meter settings shared by the meter and the meter-fader.
struct MeterSettings {
  qint32 meterScale = 0;  // 0 Linear, 1 Standard, 2 British
  qint32 meterStyle = 0;  // 0 Led, 1 Gradient
  qint32 levelLineColor = 0xE0E0E0;
  qint16 decayRate = 0;
  qint16 centerPad = 0;
  qint32 levelLeft = -600;  // tenths of dB; -600 is silence
  qint32 levelRight = -600;
  bool operator==(const MeterSettings &) const = default;
};

class DesignMeter : public DesignControlOf<DesignMeter, ControlKind::Meter> {
 public:
  MeterSettings meter;
  bool operator==(const DesignMeter &) const = default;
  void setLevel(qint32 leftLevel, qint32 rightLevel) {
    meter.levelLeft = leftLevel;
    meter.levelRight = rightLevel;
  }
};

class DesignMeterFader : public DesignControlOf<DesignMeterFader, ControlKind::MeterFader> {
 public:
  QString meterName;
  MeterSettings meter{0, 1};
  float faderNominal = 0.0f;
  bool hideGainValue = false;
  float faderLevel = 0.0f;  // dB shown by the fader knob
  bool operator==(const DesignMeterFader &) const = default;
  void setLevel(qint32 leftLevel, qint32 rightLevel) {
    meter.levelLeft = leftLevel;
    meter.levelRight = rightLevel;
  }
};

class DesignClock : public DesignControlOf<DesignClock, ControlKind::Clock> {
 public:
  qint32 backgroundColor = 0x000000;
  qint32 foregroundColor = 0xFFFFFF;
  bool faceVisible = true;
  bool digital = false;
  bool military = true;
  QString backGroundPicture;
  bool backgroundImageStretch = false;
  QString fontName = QStringLiteral("Arial");
  double fontSize = 10.0;
  bool fontBold = true;
  bool fontUnderline = false;
  bool fontItalic = false;
  qint32 longHashColor = 0xFFFFFF;
  qint32 shortHashColor = 0xC0C0C0;
  qint32 faceBorderColor = 0x808080;
  qint32 offSet = 0;  // hours added to the local time
  bool faceNumbers = true;
  bool elementHands = false;
  bool operator==(const DesignClock &) const = default;
};

// A control element this version cannot build (a codec control, a kind of a
// newer version, an element without a Type), kept as its exact text and
// shown as a placeholder. Name and geometry are read from its Name, Left,
// Top, Width and Height elements (a default size where it has none); the
// writer puts changed values back into those elements and keeps every other
// character of the text.
struct KeptGeometry {
  static constexpr qint32 kDefaultWidth = 1215;
  static constexpr qint32 kDefaultHeight = 495;
  qint32 left = 0, top = 0, width = kDefaultWidth, height = kDefaultHeight;
  bool operator==(const KeptGeometry &) const = default;
};
class DesignKept : public DesignControlOf<DesignKept, ControlKind::Kept> {
 public:
  DesignKept() {
    width = KeptGeometry::kDefaultWidth;
    height = KeptGeometry::kDefaultHeight;
  }
  QString type;    // the text of its Type element; empty without one
  QString source;  // the element as it was read
  // The name and geometry its source gives (the defaults where it has none).
  QString sourceName;
  KeptGeometry sourceGeometry;
  bool operator==(const DesignKept &) const = default;
};

// The panel canvas: the panel's name, colours and background picture.
class PanelCanvas : public DesignObject {
 public:
  bool isCanvas() const override { return true; }
  qint32 backColor = 0x8000000F;  // the system's face colour
  qint32 foreColor = 0x80000012;
  QString picture;  // resolved file shown as background, empty for none
  qint32 width = 0;
  qint32 height = 0;
  bool operator==(const PanelCanvas &) const = default;
};

// Pointer shapes the frames show while hovering and dragging.
enum class FramePointer { Default, Move, SizeNWSE, SizeNESW, SizeWE, SizeNS };

// The selection frame of one control: a grey band behind it.
struct ResizeFrame {
  int index = 0;
  qint32 left = 0;
  qint32 top = 0;
  qint32 width = 0;
  qint32 height = 0;
  bool visible = false;
  QString toolTipText;
  FramePointer mousePointer = FramePointer::Default;
};

template <class T>
T *controlCast(DesignObject *o) {
  auto *c = dynamic_cast<DesignControl *>(o);
  return c && c->kind() == T::Kind ? static_cast<T *>(c) : nullptr;
}
template <class T>
const T *controlCast(const DesignObject *o) {
  auto *c = dynamic_cast<const DesignControl *>(o);
  return c && c->kind() == T::Kind ? static_cast<const T *>(c) : nullptr;
}
