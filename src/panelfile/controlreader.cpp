// One control element read into a visible control and its record: the
// fields of every kind and the rules for their values.
#include "panelfile/controlreader.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "components/clockxml.h"
#include "hwmap/hardwaremap.h"
#include "model/colors.h"
#include "model/designcontrol.h"
#include "model/nametable.h"
#include "model/numbers.h"
#include "model/panelmodel.h"
#include "model/xmlreader.h"
#include "model/xmlwriter.h"

namespace {

qint32 twips(QStringView text, qint32 offset = 0) { return TwipsFromText(text, offset); }

// A whole number in range; a decimal text is rounded (halves to even).
template <class Int>
bool readWhole(QStringView text, Int *out) {
  double d = 0;
  if (!ReadDecimal(text, &d) || !std::isfinite(d)) return false;
  const double r = std::nearbyint(d);
  if (r < std::numeric_limits<Int>::min() || r > std::numeric_limits<Int>::max()) return false;
  *out = static_cast<Int>(r);
  return true;
}

// The control as its own kind, without a dynamic cast.
template <class T>
T *ofKind(DesignControl &control) {
  return control.kind() == T::Kind ? static_cast<T *>(&control) : nullptr;
}

bool equalsLower(QStringView text, const char *lower) {
  return text.compare(QLatin1String(lower), Qt::CaseInsensitive) == 0;
}

constexpr qint32 kGrey = 0xE0E0E0;

enum class Field {
  Unknown,  // a child the reader ignores
  Type,     // the kind of the control, read before the other fields
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
};

Field fieldOfSpelling(QStringView name);

// The field of a child element's name. The same few spellings come back in
// every control, so the field found for each is kept in a table looked up
// by a hash of the spelling.
Field fieldOf(QStringView name) {
  struct Slot {
    QString name;
    Field field = Field::Unknown;
  };
  thread_local std::array<Slot, 1024> known;
  quint32 hash = quint32(name.size());
  for (QChar c : name) hash = hash * 31 + c.unicode();
  Slot &slot = known[(hash ^ (hash >> 10) ^ (hash >> 20)) % known.size()];
  if (slot.name.size() == name.size() &&
      std::equal(name.utf16(), name.utf16() + name.size(), slot.name.utf16()))
    return slot.field;
  slot = {name.toString(), fieldOfSpelling(name)};
  return slot.field;
}

Field fieldOfSpelling(QStringView name) {
  static const NameTable<Field> table(
      {
          {"type", Field::Type},
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
      },
      Field::Unknown);
  return table.find(name);
}

// Colour texts repeat across the controls of a panel: the last few are kept
// with their values and canonical texts.
class ColorTexts {
 public:
  // The value of a colour text (GetColorValue).
  qint32 value(QStringView text) { return lookup(text).value; }
  // "&H" + at least six hex digits of the value (the form records hold).
  const QString &canonical(QStringView text) { return lookup(text).canonical; }

 private:
  struct Entry {
    QString text;
    qint32 value = 0;
    QString canonical;
  };
  const Entry &lookup(QStringView text) {
    for (const Entry &e : m_entries)
      if (!e.text.isNull() && e.text == text) return e;
    Entry &e = m_entries[m_next];
    m_next = (m_next + 1) % m_entries.size();
    e.text = text.toString();
    e.value = GetColorValue(e.text);
    e.canonical = ColorValueToText(e.value);
    return e;
  }
  std::array<Entry, 16> m_entries;
  size_t m_next = 0;
};

// Short texts that repeat (font names, states, "True") share one string.
class SharedTexts {
 public:
  QString get(QStringView text) {
    if (text.isEmpty()) return QString();
    if (text.size() > 32) return text.toString();
    QString &slot = m_slots[qHash(text) % m_slots.size()];
    if (slot != text) slot = text.toString();
    return slot;
  }

 private:
  std::array<QString, 256> m_slots;
};

// What one read shares between its controls.
struct ReadCaches {
  ColorTexts colors;
  SharedTexts texts;
  bool keepColourTexts = false;
};

// One control being read: the visible control, its record and the mode.
class ControlReader {
 public:
  ControlReader(PanelModel &panel, DesignControl &control, clsControlDetails &record,
                bool checkNames, qint32 leftOffset, qint32 topOffset, ReadCaches &caches)
      : m_panel(panel),
        m_control(control),
        m_record(record),
        m_checkNames(checkNames),
        m_leftOffset(leftOffset),
        m_topOffset(topOffset),
        m_caches(caches),
        m_button(ofKind<DesignButton>(control)),
        m_label(ofKind<DesignLabel>(control)),
        m_web(ofKind<DesignWebBrowser>(control)),
        m_meter(ofKind<DesignMeter>(control)),
        m_fader(ofKind<DesignMeterFader>(control)) {}

  bool stateMet() const { return m_stateMet; }

  // Applies one child; false when its value cannot be taken, which ends the
  // reading of this control.
  bool apply(Field field, QStringView v) {
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
        setBackground(v.isEmpty() ? kGrey : GetColorValue(HexPrefixedIfHex(v.toString())));
        return true;
      case Field::BackColorOn:
        if (!v.isEmpty())
          r.BackColorOn = colourText(v);
        else if (m_label)
          setBackground(kGrey);
        else
          r.BackColorOn = QStringLiteral("&H00FFFF");
        if (r.State.compare(QLatin1String("on"), Qt::CaseInsensitive) == 0)
          setBackground(m_caches.colors.value(v));
        return true;
      case Field::BackColorOff:
        r.BackColorOff = v.isEmpty() ? QStringLiteral("&HE0E0E0") : colourText(v);
        if (r.State.compare(QLatin1String("on"), Qt::CaseInsensitive) != 0)
          setBackground(m_caches.colors.value(v));
        return true;
      case Field::ButtonState:
        r.State = text(v);
        return true;
      case Field::State:
        r.State = text(v);
        m_stateMet = true;
        return true;
      case Field::ForeColor:
        if (m_label) {
          m_label->ForeColor = v.isEmpty() ? 0 : GetColorValue(HexPrefixedIfHex(v.toString()));
          r.ForeColor = ColorValueToText(m_label->ForeColor);
        }
        return true;
      case Field::Picture:
      case Field::PictureUpOff:
        r.PictureUpOff = text(v);
        return true;
      case Field::PictureUpOn:
        r.PictureUpOn = text(v);
        return true;
      case Field::PictureDownOff:
        r.PictureDownOff = text(v);
        return true;
      case Field::PictureDownOn:
        r.PictureDownOn = text(v);
        return true;
      case Field::PictureUpOffOrigPath:
        r.strPictureUpOffOrigPath = text(v);
        return true;
      case Field::PictureUpOnOrigPath:
        r.strPictureUpOnOrigPath = text(v);
        return true;
      case Field::PictureDownOffOrigPath:
        r.strPictureDownOffOrigPath = text(v);
        return true;
      case Field::PictureDownOnOrigPath:
        r.strPictureDownOnOrigPath = text(v);
        return true;
      case Field::Caption:
        setCaption(v);
        return true;
      case Field::Flash: {
        const QStringView t = v.trimmed();
        if (equalsLower(t, "off"))
          r.Flash = false;
        else if (equalsLower(t, "on"))
          r.Flash = true;
        return true;
      }
      case Field::Click:
        r.Click = v.toString();
        return true;
      case Field::MouseDown:
        r.MouseDown = v.toString();
        return true;
      case Field::MouseUp:
        r.MouseUp = v.toString();
        return true;
      case Field::Enabled:
        return ReadBool(v, &r.Enabled);
      case Field::MapRouter:
        r.MapRouter = text(v);
        return true;
      case Field::MapSource:
        r.MapSource = text(v);
        return true;
      case Field::MapDestination:
        r.MapDestination = text(v);
        return true;
      case Field::HWMapType:
        r.HWMapType = text(v);
        return true;
      case Field::HWMapHostIP:
        r.HWMapHostIP = text(v);
        return true;
      case Field::HWMapHostPort:
        r.HWMapHostPort = text(v);
        return true;
      case Field::HWMapAoipSysName:
        r.HWMapAoipSysName = v.toString();
        return true;
      case Field::HWMapInternalName:
        r.setHWMapInternalName(v.toString());
        return true;
      case Field::WebURL:
        r.WebURL = v.toString();
        if (m_web && !v.isEmpty()) m_web->LocationURL = r.WebURL;
        return true;
      case Field::MeterRouterNumber:
        return readWhole(v, &r.MeterRouterNumber);
      case Field::MeterIONumber:
        return readWhole(v, &r.MeterIONumber);
      case Field::MeterIsSource:
        r.MeterIsSource = !equalsLower(v, "false");
        return true;
      case Field::MeterScale: {
        r.MeterScale = equalsLower(v, "standard") ? 1 : equalsLower(v, "british") ? 2 : 0;
        if (MeterSettings *m = meterSettings()) m->MeterScale = r.MeterScale;
        return true;
      }
      case Field::MeterStyle: {
        r.MeterStyle = equalsLower(v, "led") ? 0 : equalsLower(v, "gradient") ? 1 : m_fader ? 1 : 0;
        if (MeterSettings *m = meterSettings()) m->MeterStyle = r.MeterStyle;
        return true;
      }
      case Field::LevelLineColor:
        r.LevelLineColor = text(v);
        if (m_meter) m_meter->Meter.LevelLineColor = m_caches.colors.value(v);
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
        r.HideGainValue = equalsLower(v, "true") || v == u"-1";
        if (m_fader) m_fader->HideGainValue = r.HideGainValue;
        return true;
      case Field::FontName:
        if (FontSpec *f = font(); f && !v.isEmpty()) f->name = text(v);
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
  QString text(QStringView v) { return m_caches.texts.get(v); }
  QString colourText(QStringView v) {
    return m_caches.keepColourTexts ? v.toString() : m_caches.colors.canonical(v);
  }

  void setName(QStringView v) {
    const QString name = v.toString();
    if (!m_checkNames || !m_panel.CheckForDuplicateName(name, &m_control)) {
      m_control.Tag = name;
      return;
    }
    m_control.Tag = m_panel.GetNewName(static_cast<int>(m_control.kind()));
    if (m_meter) m_meter->SetLevel(-600, -600);
  }

  bool setExtent(qint32 *target, QStringView v) {
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

  void setCaption(QStringView v) {
    QString text = v.toString();
    if (v.contains(u"\\n")) text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
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
  ReadCaches &m_caches;
  DesignButton *m_button;
  DesignLabel *m_label;
  DesignWebBrowser *m_web;
  DesignMeter *m_meter;
  DesignMeterFader *m_fader;
  bool m_stateMet = false;
};

// The fields of a kept control that are read and written back.
bool isKeptControlField(Field field) {
  return field == Field::Name || field == Field::Left || field == Field::Top ||
         field == Field::Width || field == Field::Height;
}

bool kindFromType(QStringView type, ControlKind *kind) {
  static const NameTable<int> kinds({{"button", int(ControlKind::Button)},
                                     {"label", int(ControlKind::Label)},
                                     {"webbrowser", int(ControlKind::WebBrowser)},
                                     {"meter", int(ControlKind::Meter)},
                                     {"meterfader", int(ControlKind::MeterFader)},
                                     {"lkclock", int(ControlKind::Clock)}},
                                    -1);
  const int found = kinds.find(type);
  if (found < 0) return false;
  *kind = static_cast<ControlKind>(found);
  return true;
}

}  // namespace

// ---------------------------------------------------------------- one control

struct ControlElementReader::State {
  struct Child {
    Field field = Field::Unknown;
    QStringView name;
    QStringView text;       // a view of the document, unless it was copied:
    qsizetype copied = -1;  // then its start in `copies`
    QStringView source;     // the child's exact text in the document
    QStringView content;    // the text between its tags; null when it has no end tag
  };
  std::vector<Child> children;
  size_t count = 0;
  QString copies;  // texts of this control that are not views of the document
  QStringView childName;
  XmlTextRun childText;
  const QChar *childStart = nullptr;  // where the child's start tag begins
  const QChar *childTagEnd = nullptr;
  const QChar *start = nullptr;  // the control element's own start and end
  const QChar *end = nullptr;
  const QChar *startTagEnd = nullptr;
  QStringView elementName;
  // The first element named exactly "Name" at any depth (a clock's name).
  int nameDepth = -1;
  bool nameDone = false;
  XmlTextRun nameText;
  QString clockName;
  ReadCaches caches;
};

ControlElementReader::ControlElementReader(QStringView documentText) : d(new State) {
  d->childText.setSource(documentText);
  d->nameText.setSource(documentText);
}

ControlElementReader::~ControlElementReader() = default;

void ControlElementReader::keepColourTexts(bool keep) { d->caches.keepColourTexts = keep; }

namespace {
const QChar *endOf(QStringView v) { return v.data() + v.size(); }
}  // namespace

QStringView ControlElementReader::source() const {
  return d->start && d->end >= d->start ? QStringView(d->start, d->end) : QStringView();
}

void ControlElementReader::markup(QStringView source, int depth) {
  if (depth != 0 || source.isEmpty()) return;
  if (d->count == d->children.size()) d->children.emplace_back();
  d->children[d->count++] = {Field::Unknown, QStringView(), QStringView(), -1, source, {}};
}

void ControlElementReader::startElement(QStringView name, int depth, QStringView source) {
  if (depth == 0) {
    d->start = source.data();
    d->end = d->startTagEnd = endOf(source);
    d->elementName = name;
    d->count = 0;
    if (!d->copies.isEmpty()) d->copies.resize(0);
    d->nameDepth = -1;
    d->nameDone = false;
    d->clockName = QString();
    return;
  }
  if (depth == 1) {
    d->childName = name;
    d->childText.clear();
    d->childStart = source.data();
    d->childTagEnd = endOf(source);
  } else if (depth == 2) {
    d->childText.endRun();
  }
  if (d->nameDepth >= 0 && depth == d->nameDepth + 1) d->nameText.endRun();
  if (!d->nameDone && d->nameDepth < 0 && name.size() == 4 && name == u"Name") {
    d->nameDepth = depth;
    d->nameText.clear();
  }
}

void ControlElementReader::text(QStringView value, int depth) {
  if (depth == 1) d->childText.add(value);
  if (depth == d->nameDepth) d->nameText.add(value);
}

void ControlElementReader::endElement(int depth, QStringView source) {
  if (depth == 0 && !source.isEmpty()) d->end = endOf(source);
  if (depth == d->nameDepth) {
    d->nameText.endRun();
    d->clockName = d->nameText.text().toString();
    d->nameDone = true;
    d->nameDepth = -1;
  }
  if (depth != 1) return;
  d->childText.endRun();
  if (d->count == d->children.size()) d->children.emplace_back();
  State::Child &child = d->children[d->count];
  child.field = fieldOf(d->childName);
  child.name = d->childName;
  const QChar *childEnd = source.isEmpty() ? d->childTagEnd : endOf(source);
  child.source = d->childStart && childEnd >= d->childStart ? QStringView(d->childStart, childEnd)
                                                            : QStringView();
  child.content = !source.isEmpty() && d->childTagEnd && source.data() >= d->childTagEnd
                      ? QStringView(d->childTagEnd, source.data())
                      : QStringView();
  ++d->count;
  if (d->childText.textIsView()) {
    child.text = d->childText.text();
    child.copied = -1;
  } else {
    child.copied = d->copies.size();
    child.text = QStringView();
    d->copies += d->childText.text();
    child.text = QStringView(d->copies).mid(child.copied, d->copies.size() - child.copied);
  }
}

void ControlElementReader::settleCopies() {
  // The copied texts are views of `copies` once it no longer grows.
  for (size_t k = 0; k < d->count; ++k) {
    State::Child &c = d->children[k];
    if (c.copied >= 0) c.text = QStringView(d->copies).mid(c.copied, c.text.size());
  }
}

qint32 ControlElementReader::number(QStringView lowerName) {
  settleCopies();
  for (size_t k = 0; k < d->count; ++k) {
    const State::Child &c = d->children[k];
    if (c.name.trimmed().toString().toLower() == lowerName)
      return RoundHalfEven(LeadingNumber(c.text));
  }
  return -1;
}

namespace {
// How a kept element names the known child it follows.
QString anchorName(QStringView child) { return child.trimmed().toString().toLower(); }
}  // namespace

std::unique_ptr<clsControlDetails> ControlElementReader::build(PanelModel &panel, bool checkNames,
                                                               qint32 leftOffset, qint32 topOffset,
                                                               const HardwareMap &map) {
  settleCopies();
  const State::Child *type = nullptr;
  for (size_t k = 0; k < d->count && !type; ++k)
    if (d->children[k].field == Field::Type) type = &d->children[k];
  ControlKind kind;
  if (!type || !kindFromType(type->text.trimmed(), &kind)) kind = ControlKind::Kept;

  auto record = std::make_unique<clsControlDetails>();
  if (kind == ControlKind::Kept) {
    auto *kept = panel.Load<DesignKept>();
    kept->Visible = true;
    kept->Source = source().toString();
    if (type) kept->Type = type->text.trimmed().toString();
    record->cntrlObject = kept;
    // Only its name and geometry are read, first as its text gives them,
    // then as it lands (a pasted one moves and may be renamed); the rest
    // stays in its text.
    DesignKept asWritten;
    clsControlDetails scratch;
    ControlReader textReader(panel, asWritten, scratch, false, 0, 0, d->caches);
    ControlReader reader(panel, *kept, *record, checkNames, leftOffset, topOffset, d->caches);
    for (size_t k = 0; k < d->count; ++k) {
      const State::Child &c = d->children[k];
      if (!isKeptControlField(c.field)) continue;
      textReader.apply(c.field, c.text);
      reader.apply(c.field, c.text);
    }
    kept->SourceName = asWritten.Tag;
    kept->SourceGeometry = {asWritten.Left, asWritten.Top, asWritten.Width, asWritten.Height};
    ApplyHardwareMapToControl(*record, map);
    return record;
  }
  if (kind == ControlKind::Clock) {
    auto *clock = panel.Load<DesignClock>();
    clock->Visible = true;
    record->cntrlObject = clock;
    QStringView after;  // as for the other kinds, below
    for (size_t k = 0; k < d->count; ++k) {
      const State::Child &c = d->children[k];
      if (c.name.isEmpty() || !IsClockChild(c.name)) {
        if (!c.source.isEmpty())
          record->foreign.push_back({anchorName(after), c.source.toString()});
        continue;
      }
      after = c.name;
      ClockIngestProperty(*clock, c.name, c.text.toString());
    }
    clock->Tag = d->clockName;
    if (checkNames) {
      // Pasted clocks land like every other pasted control.
      if (panel.CheckForDuplicateName(clock->Tag, clock))
        clock->Tag = panel.GetNewName(static_cast<int>(ControlKind::Clock));
      clock->Left = RoundHalfEven(static_cast<double>(clock->Left) - leftOffset);
      clock->Top = RoundHalfEven(static_cast<double>(clock->Top) - topOffset);
    }
    return record;
  }

  DesignControl *control = panel.LoadControl(kind);
  control->Visible = true;
  if (auto *meter = ofKind<DesignMeter>(*control)) meter->SetLevel(-600, -600);
  record->cntrlObject = control;

  ControlReader reader(panel, *control, *record, checkNames, leftOffset, topOffset, d->caches);
  bool reading = true;
  // The last known child, where the foreign ones that follow belong; named
  // only when one does, as most controls have none.
  QStringView after;
  for (size_t k = 0; k < d->count; ++k) {
    const State::Child &c = d->children[k];
    if (c.field == Field::Unknown) {
      if (!c.source.isEmpty()) record->foreign.push_back({anchorName(after), c.source.toString()});
      continue;
    }
    after = c.name;
    if (c.field == Field::Type || !reading) continue;
    if (!reader.apply(c.field, c.text)) reading = false;  // the control keeps what was read so far
  }

  ApplyHardwareMapToControl(*record, map);
  if (!reader.stateMet() && kind == ControlKind::Label) record->BackColorOn = record->BackColorOff;
  return record;
}

qint32 TwipsFromText(QStringView text, qint32 offset) {
  return RoundHalfEven(LeadingNumber(text) - static_cast<double>(offset));
}

// ---------------------------------------------------------------- kept controls

namespace {

// Collects the one control element of a text.
class SingleControlReader : public XmlHandler {
 public:
  explicit SingleControlReader(ControlElementReader &control) : m_control(control) {}
  void startElement(QStringView name, const std::vector<XmlAttribute> &,
                    QStringView source) override {
    m_control.startElement(name, m_depth++, source);
  }
  void endElement(QStringView source) override { m_control.endElement(--m_depth, source); }
  void comment(QStringView, QStringView source) override { m_control.markup(source, m_depth - 1); }
  void processingInstruction(QStringView, QStringView, QStringView source) override {
    m_control.markup(source, m_depth - 1);
  }
  void text(QStringView value, QStringView) override { m_control.text(value, m_depth - 1); }
  void cdata(QStringView value, QStringView) override { m_control.text(value, m_depth - 1); }

 private:
  ControlElementReader &m_control;
  int m_depth = 0;
};

const char *keptFieldName(Field field) {
  switch (field) {
    case Field::Name:
      return "Name";
    case Field::Left:
      return "Left";
    case Field::Top:
      return "Top";
    case Field::Width:
      return "Width";
    default:
      return "Height";
  }
}

}  // namespace

bool ReadControlElement(const QString &text, ControlElementReader &reader) {
  SingleControlReader handler(reader);
  return ReadXml(text, handler);
}

QString ControlElementReader::keptText(const DesignKept &control) {
  settleCopies();
  const QStringView source = this->source();
  if (source.isEmpty()) return control.Source;
  // The values that changed, as the element texts they become.
  struct Value {
    Field field;
    QString text;
    bool met = false;
  };
  std::vector<Value> values;
  auto changed = [&](Field field, bool differs, const QString &text) {
    if (differs) values.push_back({field, text});
  };
  QString name;
  AppendEscapedXmlText(name, static_cast<const QString &>(control.Tag));
  const KeptGeometry &was = control.SourceGeometry;
  changed(Field::Name, control.Tag != control.SourceName, name);
  changed(Field::Left, control.Left != was.left, QString::number(control.Left));
  changed(Field::Top, control.Top != was.top, QString::number(control.Top));
  changed(Field::Width, control.Width != was.width, QString::number(control.Width));
  changed(Field::Height, control.Height != was.height, QString::number(control.Height));
  if (values.empty()) return source.toString();

  // Each change as a replaced piece of the source, in source order.
  struct Edit {
    qsizetype from, to;
    QString text;
  };
  std::vector<Edit> edits;
  auto at = [&](const QChar *p) { return qsizetype(p - source.data()); };
  auto element = [](const QString &tag, const QString &text) {
    return u'<' + tag + u'>' + text + QStringLiteral("</") + tag + u'>';
  };
  const State::Child *lastElement = nullptr;
  for (size_t k = 0; k < d->count; ++k) {
    const State::Child &c = d->children[k];
    if (c.name.isEmpty()) continue;  // markup
    lastElement = &c;
    for (Value &v : values) {
      if (v.field != c.field) continue;
      v.met = true;
      if (!c.content.isNull())
        edits.push_back({at(c.content.data()), at(endOf(c.content)), v.text});
      else
        edits.push_back(
            {at(c.source.data()), at(endOf(c.source)), element(c.name.toString(), v.text)});
    }
  }
  // Elements it lacks go after its last child, on lines of their own laid
  // out as that child's.
  QString added;
  const QString lineEnd = source.contains(u"\r\n") ? QStringLiteral("\r\n")
                          : source.contains(u'\n') ? QStringLiteral("\n")
                                                   : QString();
  QString indent;
  if (lastElement && !lineEnd.isEmpty()) {
    const qsizetype lineStart = source.lastIndexOf(u'\n', at(lastElement->source.data())) + 1;
    const QStringView lead = source.mid(lineStart, at(lastElement->source.data()) - lineStart);
    if (lead.trimmed().isEmpty()) indent = lead.toString();
  }
  for (const Value &v : values)
    if (!v.met) added += lineEnd + indent + element(QLatin1String(keptFieldName(v.field)), v.text);
  if (!added.isEmpty()) {
    const bool selfClosing = d->end == d->startTagEnd && source.endsWith(u"/>");
    if (selfClosing) {
      // "<Control/>" opens to hold them.
      const QString tag = d->elementName.toString();
      edits.push_back({source.size() - 2, source.size(),
                       u'>' + added + lineEnd + QStringLiteral("</") + tag + u'>'});
    } else {
      const qsizetype after = lastElement ? at(endOf(lastElement->source)) : at(d->startTagEnd);
      edits.push_back({after, after, added});
    }
  }
  std::sort(edits.begin(), edits.end(),
            [](const Edit &a, const Edit &b) { return a.from > b.from; });
  QString out = source.toString();
  for (const Edit &e : edits) out.replace(e.from, e.to - e.from, e.text);
  return out;
}

QString KeptControlText(const DesignKept &control) {
  const KeptGeometry &was = control.SourceGeometry;
  if (control.Tag == control.SourceName && control.Left == was.left && control.Top == was.top &&
      control.Width == was.width && control.Height == was.height)
    return control.Source;
  ControlElementReader reader(control.Source);
  if (!ReadControlElement(control.Source, reader)) return control.Source;
  return reader.keptText(control);
}
