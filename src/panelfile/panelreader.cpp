#include "panelfile/panelreader.h"

#include <array>

#include <QHash>
#include <QLocale>
#include <cmath>
#include <limits>

#include "components/clockxml.h"
#include "hwmap/hardwaremap.h"
#include "model/colors.h"
#include "model/designcontrol.h"
#include "model/numbers.h"
#include "model/panelmodel.h"
#include "model/settings.h"
#include "model/xmldoc.h"
#include "panelfile/readhooks.h"

namespace {

QString key(const QString &name) { return name.trimmed().toLower(); }

// Twips from the number a text starts with; halves go to the even integer.
qint32 twips(const QString &text, qint32 offset = 0) {
  return RoundHalfEven(LeadingNumber(text) - static_cast<double>(offset));
}

// A whole number in range; a decimal text is rounded (halves to even).
template <class Int>
bool readWhole(const QString &text, Int *out) {
  bool ok = false;
  const double d = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(d)) return false;
  const double r = std::nearbyint(d);
  if (r < std::numeric_limits<Int>::min() || r > std::numeric_limits<Int>::max()) return false;
  *out = static_cast<Int>(r);
  return true;
}

QString colorText(const QString &text) { return ColorValueToText(GetColorValue(text)); }

constexpr qint32 kGrey = 0xE0E0E0;

enum class Field {
  Name,
  Width,
  Height,
  Left,
  Top,
  BackColor,
  BackColorOn,
  BackColorOff,
  ButtonState,
  State,
  ForeColor,
  Picture,
  PictureUpOff,
  PictureUpOn,
  PictureDownOff,
  PictureDownOn,
  PictureUpOffOrigPath,
  PictureUpOnOrigPath,
  PictureDownOffOrigPath,
  PictureDownOnOrigPath,
  Caption,
  Flash,
  Click,
  MouseDown,
  MouseUp,
  Enabled,
  MapRouter,
  MapSource,
  MapDestination,
  HWMapType,
  HWMapHostIP,
  HWMapHostPort,
  HWMapAoipSysName,
  HWMapInternalName,
  WebURL,
  MeterRouterNumber,
  MeterIONumber,
  MeterIsSource,
  MeterScale,
  MeterStyle,
  LevelLineColor,
  DecayRate,
  CenterPad,
  FaderNominal,
  HideGainValue,
  FontName,
  FontSize,
  FontBold,
  FontUnderline,
  FontItalic,
  Type,     // the kind of the control, read before the other fields
  Unknown,  // a child the reader ignores
};

const QHash<QString, Field> &fieldTable() {
  static const QHash<QString, Field> table = {
      {"name", Field::Name},
      {"width", Field::Width},
      {"height", Field::Height},
      {"left", Field::Left},
      {"top", Field::Top},
      {"backcolor", Field::BackColor},
      {"backcoloron", Field::BackColorOn},
      {"backcoloroff", Field::BackColorOff},
      {"buttonstate", Field::ButtonState},
      {"state", Field::State},
      {"forecolor", Field::ForeColor},
      {"picture", Field::Picture},
      {"pictureupoff", Field::PictureUpOff},
      {"pictureupon", Field::PictureUpOn},
      {"picturedownoff", Field::PictureDownOff},
      {"picturedownon", Field::PictureDownOn},
      {"pictureupofforigpath", Field::PictureUpOffOrigPath},
      {"pictureuponorigpath", Field::PictureUpOnOrigPath},
      {"picturedownofforigpath", Field::PictureDownOffOrigPath},
      {"picturedownonorigpath", Field::PictureDownOnOrigPath},
      {"caption", Field::Caption},
      {"flash", Field::Flash},
      {"click", Field::Click},
      {"mousedown", Field::MouseDown},
      {"mouseup", Field::MouseUp},
      {"enabled", Field::Enabled},
      {"maprouter", Field::MapRouter},
      {"mapsource", Field::MapSource},
      {"mapdestination", Field::MapDestination},
      {"hwmaptype", Field::HWMapType},
      {"hwmaphostip", Field::HWMapHostIP},
      {"hwmaphostport", Field::HWMapHostPort},
      {"hwmapaoipsysname", Field::HWMapAoipSysName},
      {"hwmapinternalname", Field::HWMapInternalName},
      {"weburl", Field::WebURL},
      {"meterrouternumber", Field::MeterRouterNumber},
      {"meterionumber", Field::MeterIONumber},
      {"meterissource", Field::MeterIsSource},
      {"meterscale", Field::MeterScale},
      {"meterstyle", Field::MeterStyle},
      {"levellinecolor", Field::LevelLineColor},
      {"decayrate", Field::DecayRate},
      {"centerpad", Field::CenterPad},
      {"fadernominal", Field::FaderNominal},
      {"hidegainvalue", Field::HideGainValue},
      {"fontname", Field::FontName},
      {"fontsize", Field::FontSize},
      {"fontbold", Field::FontBold},
      {"fontunderline", Field::FontUnderline},
      {"fontitalic", Field::FontItalic},
  };
  return table;
}

Field fieldOfSpelling(const QString &name);

// The field of a child element's name, in any case and with surrounding
// blanks. The same few spellings come back in every control of a panel, so
// the answer for each spelling is kept (for a bounded number of spellings)
// rather than lower-casing every name of a large panel again.
Field fieldOf(const QString &name) {
  // The scanner gives equal element names one shared string, so most look-ups
  // are answered by the string's identity. A slot keeps its string alive, so
  // its data can never be reused for another name while it is cached.
  struct Slot {
    QString name;
    Field field = Field::Unknown;
  };
  thread_local std::array<Slot, 1024> byIdentity;
  const quintptr address = reinterpret_cast<quintptr>(name.constData());
  Slot &slot = byIdentity[((address >> 4) ^ (address >> 14)) % byIdentity.size()];
  if (!name.isEmpty() && slot.name.constData() == name.constData() && slot.name.size() == name.size())
    return slot.field;
  const Field field = fieldOfSpelling(name);
  slot = {name, field};
  return field;
}

Field fieldOfSpelling(const QString &name) {
  constexpr qsizetype kMaxSpellings = 512;
  thread_local QHash<QString, Field> seen;
  const auto known = seen.constFind(name);
  if (known != seen.cend()) return *known;
  const QString k = key(name);
  const Field field =
      k == QLatin1String("type") ? Field::Type : fieldTable().value(k, Field::Unknown);
  if (seen.size() < kMaxSpellings) seen.insert(name, field);
  return field;
}

// One control being read: the visible control, its record and the mode.
class ControlReader {
 public:
  ControlReader(PanelModel &panel, DesignControl &control, clsControlDetails &record,
                bool checkNames, qint32 leftOffset, qint32 topOffset)
      : m_panel(panel),
        m_control(control),
        m_record(record),
        m_checkNames(checkNames),
        m_leftOffset(leftOffset),
        m_topOffset(topOffset),
        m_button(As<DesignButton>(&control)),
        m_label(As<DesignLabel>(&control)),
        m_web(As<DesignWebBrowser>(&control)),
        m_meter(As<DesignMeter>(&control)),
        m_fader(As<DesignMeterFader>(&control)) {}

  bool stateMet() const { return m_stateMet; }

  // Applies one child; false when its value cannot be taken, which ends the
  // reading of this control.
  bool apply(Field field, const QString &v) {
    clsControlDetails &r = m_record;
    switch (field) {
      case Field::Name:
        setName(v);
        return true;
      case Field::Width:
        return setExtent(&m_control.Width, v);
      case Field::Height:
        return setExtent(&m_control.Height, v);
      case Field::Left:
        m_control.Left = twips(v, m_checkNames ? m_leftOffset : 0);
        return true;
      case Field::Top:
        m_control.Top = twips(v, m_checkNames ? m_topOffset : 0);
        return true;
      case Field::BackColor:
        setBackground(v.isEmpty() ? kGrey : GetColorValue(HexPrefixedIfHex(v)));
        return true;
      case Field::BackColorOn:
        if (!v.isEmpty())
          r.BackColorOn = colorText(v);
        else if (m_label)
          setBackground(kGrey);
        else
          r.BackColorOn = QStringLiteral("&H00FFFF");
        if (r.State.compare(QLatin1String("on"), Qt::CaseInsensitive) == 0)
          setBackground(GetColorValue(v));
        return true;
      case Field::BackColorOff:
        r.BackColorOff = v.isEmpty() ? QStringLiteral("&HE0E0E0") : colorText(v);
        if (r.State.compare(QLatin1String("on"), Qt::CaseInsensitive) != 0)
          setBackground(GetColorValue(v));
        return true;
      case Field::ButtonState:
        r.State = v;
        return true;
      case Field::State:
        r.State = v;
        m_stateMet = true;
        return true;
      case Field::ForeColor:
        if (m_label) {
          m_label->ForeColor = v.isEmpty() ? 0 : GetColorValue(HexPrefixedIfHex(v));
          r.ForeColor = ColorValueToText(m_label->ForeColor);
        }
        return true;
      case Field::Picture:
        r.PictureUpOff = v;
        return true;
      case Field::PictureUpOff:
        r.PictureUpOff = v;
        return true;
      case Field::PictureUpOn:
        r.PictureUpOn = v;
        return true;
      case Field::PictureDownOff:
        r.PictureDownOff = v;
        return true;
      case Field::PictureDownOn:
        r.PictureDownOn = v;
        return true;
      case Field::PictureUpOffOrigPath:
        r.strPictureUpOffOrigPath = v;
        return true;
      case Field::PictureUpOnOrigPath:
        r.strPictureUpOnOrigPath = v;
        return true;
      case Field::PictureDownOffOrigPath:
        r.strPictureDownOffOrigPath = v;
        return true;
      case Field::PictureDownOnOrigPath:
        r.strPictureDownOnOrigPath = v;
        return true;
      case Field::Caption:
        setCaption(v);
        return true;
      case Field::Flash: {
        const QString t = v.trimmed().toLower();
        if (t == QLatin1String("off"))
          r.Flash = false;
        else if (t == QLatin1String("on"))
          r.Flash = true;
        return true;
      }
      case Field::Click:
        r.Click = v;
        return true;
      case Field::MouseDown:
        r.MouseDown = v;
        return true;
      case Field::MouseUp:
        r.MouseUp = v;
        return true;
      case Field::Enabled:
        return ReadBool(v, &r.Enabled);
      case Field::MapRouter:
        r.MapRouter = v;
        return true;
      case Field::MapSource:
        r.MapSource = v;
        return true;
      case Field::MapDestination:
        r.MapDestination = v;
        return true;
      case Field::HWMapType:
        r.HWMapType = v;
        return true;
      case Field::HWMapHostIP:
        r.HWMapHostIP = v;
        return true;
      case Field::HWMapHostPort:
        r.HWMapHostPort = v;
        return true;
      case Field::HWMapAoipSysName:
        r.HWMapAoipSysName = v;
        return true;
      case Field::HWMapInternalName:
        r.setHWMapInternalName(v);
        return true;
      case Field::WebURL:
        r.WebURL = v;
        if (m_web && !v.isEmpty()) m_web->LocationURL = v;
        return true;
      case Field::MeterRouterNumber:
        return readWhole(v, &r.MeterRouterNumber);
      case Field::MeterIONumber:
        return readWhole(v, &r.MeterIONumber);
      case Field::MeterIsSource:
        r.MeterIsSource = v.toLower() != QLatin1String("false");
        return true;
      case Field::MeterScale: {
        const QString t = v.toLower();
        r.MeterScale = t == QLatin1String("standard") ? 1 : t == QLatin1String("british") ? 2 : 0;
        if (MeterSettings *m = meterSettings()) m->MeterScale = r.MeterScale;
        return true;
      }
      case Field::MeterStyle: {
        const QString t = v.toLower();
        r.MeterStyle = t == QLatin1String("led")        ? 0
                       : t == QLatin1String("gradient") ? 1
                       : m_fader                        ? 1
                                                        : 0;
        if (MeterSettings *m = meterSettings()) m->MeterStyle = r.MeterStyle;
        return true;
      }
      case Field::LevelLineColor:
        r.LevelLineColor = v;
        if (m_meter) m_meter->Meter.LevelLineColor = GetColorValue(v);
        return true;
      case Field::DecayRate:
        if (!readWhole(v, &r.DecayRate)) return false;
        if (MeterSettings *m = meterSettings()) m->DecayRate = r.DecayRate;
        return true;
      case Field::CenterPad:
        if (!readWhole(v, &r.CenterPad)) return false;
        if (MeterSettings *m = meterSettings()) m->CenterPad = r.CenterPad;
        return true;
      case Field::FaderNominal:
        if (!ReadFloat(v, &r.FaderNominal)) return false;
        if (m_fader) m_fader->FaderNominal = r.FaderNominal;
        return true;
      case Field::HideGainValue:
        r.HideGainValue =
            v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || v == QLatin1String("-1");
        if (m_fader) m_fader->HideGainValue = r.HideGainValue;
        return true;
      case Field::FontName:
        if (FontSpec *f = font(); f && !v.isEmpty()) f->name = v;
        return true;
      case Field::FontSize: {
        float size = 0;
        FontSpec *f = font();
        if (f && ReadFloat(v, &size) && size > 0.0f && size <= 2048.0f) f->size = size;
        return true;
      }
      case Field::FontBold:
        if (FontSpec *f = font()) ReadBool(v, &f->bold);
        return true;
      case Field::FontUnderline:
        if (FontSpec *f = font()) ReadBool(v, &f->underline);
        return true;
      case Field::FontItalic:
        if (FontSpec *f = font()) ReadBool(v, &f->italic);
        return true;
      case Field::Type:
      case Field::Unknown:
        return true;
    }
    return true;
  }

 private:
  void setName(const QString &v) {
    if (!m_checkNames || !m_panel.CheckForDuplicateName(v)) {
      m_control.Tag = v;
      return;
    }
    m_control.Tag = m_panel.GetNewName(static_cast<int>(m_control.kind()));
    if (m_meter) m_meter->SetLevel(-600, -600);
  }

  bool setExtent(qint32 *target, const QString &v) {
    const qint32 value = twips(v);
    if (value < 0) return false;  // no control takes a negative size
    *target = value;
    return true;
  }

  void setBackground(qint32 color) {
    if (m_button)
      m_button->BackColor = color;
    else if (m_label)
      m_label->BackColor = color;
  }

  void setCaption(const QString &v) {
    QString text = v;
    text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
    QString *target = m_button  ? &m_button->Caption
                      : m_label ? &m_label->Text
                      : m_fader ? &m_fader->MeterName
                                : nullptr;
    if (!target) return;
    if (m_checkNames && isDefaultCaption(text)) text = m_control.Tag;
    *target = text;
  }

  // A caption such as "Button12" follows the control's (possibly new) name
  // when pasting.
  bool isDefaultCaption(const QString &text) const {
    const QString stem = NameStem(m_control.kind());
    if (!(m_button || m_label || m_fader)) return false;
    if (text.size() <= stem.size() || !text.startsWith(stem, Qt::CaseInsensitive)) return false;
    return IsLooseNumeric(text.mid(stem.size()));
  }

  MeterSettings *meterSettings() {
    return m_meter ? &m_meter->Meter : m_fader ? &m_fader->Meter : nullptr;
  }
  FontSpec *font() { return m_button ? &m_button->Font : m_label ? &m_label->Font : nullptr; }

  PanelModel &m_panel;
  DesignControl &m_control;
  clsControlDetails &m_record;
  const bool m_checkNames;
  const qint32 m_leftOffset;
  const qint32 m_topOffset;
  DesignButton *m_button;
  DesignLabel *m_label;
  DesignWebBrowser *m_web;
  DesignMeter *m_meter;
  DesignMeterFader *m_fader;
  bool m_stateMet = false;
};

const XmlElement *findNamed(const XmlElement &element, const QString &name) {
  for (const XmlElement &c : element.children) {
    if (c.name == name) return &c;
    if (const XmlElement *found = findNamed(c, name)) return found;
  }
  return nullptr;
}

std::unique_ptr<clsControlDetails> readClock(const XmlElement &element, PanelModel &panel,
                                             bool checkNames, qint32 leftOffset, qint32 topOffset) {
  auto record = std::make_unique<clsControlDetails>();
  auto *clock = panel.Load<DesignClock>();
  clock->Visible = true;
  record->cntrlObject = clock;
  ClockIngestTree(*clock, element);
  const XmlElement *name = findNamed(element, QStringLiteral("Name"));
  clock->Tag = name ? name->text : QString();
  if (checkNames) {
    // Pasted clocks land like every other pasted control.
    if (panel.CheckForDuplicateName(clock->Tag))
      clock->Tag = panel.GetNewName(static_cast<int>(ControlKind::Clock));
    clock->Left = RoundHalfEven(static_cast<double>(clock->Left) - leftOffset);
    clock->Top = RoundHalfEven(static_cast<double>(clock->Top) - topOffset);
  }
  return record;
}

bool kindFromType(const QString &type, ControlKind *kind) {
  static const QHash<QString, ControlKind> kinds = {
      {"button", ControlKind::Button},         {"label", ControlKind::Label},
      {"webbrowser", ControlKind::WebBrowser}, {"meter", ControlKind::Meter},
      {"meterfader", ControlKind::MeterFader},
  };
  const auto it = kinds.constFind(type);
  if (it == kinds.cend()) return false;
  *kind = *it;
  return true;
}

}  // namespace

std::unique_ptr<clsControlDetails> GetControl(const XmlElement &element, PanelModel &panel,
                                              bool checkNames, qint32 leftOffset, qint32 topOffset,
                                              const HardwareMap &map) {
  const XmlElement *typeElement = nullptr;
  for (const XmlElement &c : element.children)
    if (fieldOf(c.name) == Field::Type) {
      typeElement = &c;
      break;
    }
  if (!typeElement) return nullptr;
  const QString type = typeElement->text.trimmed().toLower();
  if (type == QLatin1String("lkclock"))
    return readClock(element, panel, checkNames, leftOffset, topOffset);
  ControlKind kind;
  if (!kindFromType(type, &kind)) return nullptr;  // codec controls and unknown kinds

  auto record = std::make_unique<clsControlDetails>();
  DesignControl *control = panel.LoadControl(kind);
  control->Visible = true;
  if (auto *meter = As<DesignMeter>(control)) meter->SetLevel(-600, -600);
  record->cntrlObject = control;

  ControlReader reader(panel, *control, *record, checkNames, leftOffset, topOffset);
  for (const XmlElement &c : element.children) {
    const Field field = fieldOf(c.name);
    if (field == Field::Type || field == Field::Unknown) continue;
    if (!reader.apply(field, c.text)) break;  // the control keeps what was read so far
  }

  ApplyHardwareMapToControl(*record, map);
  if (!reader.stateMet() && kind == ControlKind::Label) record->BackColorOn = record->BackColorOff;
  return record;
}

std::unique_ptr<clsControlDetails> GetControl(const QString &controlXml, PanelModel &panel,
                                              bool checkNames, qint32 leftOffset, qint32 topOffset,
                                              const HardwareMap *map) {
  XmlElement element;
  if (!ParseXmlTree(controlXml, element)) return nullptr;
  if (map) return GetControl(element, panel, checkNames, leftOffset, topOffset, *map);
  const HardwareMap fromFile = HardwareMap::FromFile(Settings().strHardwareMapFile);
  return GetControl(element, panel, checkNames, leftOffset, topOffset, fromFile);
}

void AnalyzeXML(const QString &text, PanelModel &panel, ReadHooks &hooks, const HardwareMap *map) {
  XmlElement root;
  if (ParseXmlTree(text, root)) {
    HardwareMap fromFile;
    if (!map) {
      fromFile = HardwareMap::FromFile(Settings().strHardwareMapFile);
      map = &fromFile;
    }
    clsPanelDetails &details = panel.PanelDetails;
    for (const XmlElement &child : root.children) {
      const QString name = key(child.name);
      const QString &v = child.text;
      if (name == QLatin1String("controllist")) {
        for (const XmlElement &element : child.children) {
          auto record = GetControl(element, panel, false, 0, 0, *map);
          if (!record) continue;
          record->lngPictResizeIndex = panel.GetNewPictResize();
          details.CollControls.push_back(std::move(record));
          hooks.controlRead(*details.CollControls.back());
        }
        continue;
      }
      if (v.isEmpty()) continue;
      if (name == QLatin1String("name"))
        panel.pictMain.Tag = v;
      else if (name == QLatin1String("caption"))
        panel.Caption = v;
      else if (name == QLatin1String("width"))
        panel.Width = twips(v);
      else if (name == QLatin1String("height"))
        panel.Height = twips(v);
      else if (name == QLatin1String("backcolor"))
        panel.pictMain.BackColor = GetColorValue(v);
      else if (name == QLatin1String("forecolor"))
        panel.pictMain.ForeColor = GetColorValue(v);
      else if (name == QLatin1String("backcoloron"))
        details.BackColorOn = colorText(v);
      else if (name == QLatin1String("backcoloroff"))
        details.BackColorOff = colorText(v);
      else if (name == QLatin1String("picture"))
        details.strPicture = v;
      else if (name == QLatin1String("origpicturepath"))
        details.strPictureOrigPath = v;
      else if (name == QLatin1String("onload"))
        details.strOnload = v;
      else if (name == QLatin1String("defaultpicturepath"))
        panel.strDefaultPictureLoc = v;
    }
  }
  hooks.panelRead();
}
