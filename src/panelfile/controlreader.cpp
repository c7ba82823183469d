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

qint32 twips(QStringView text, qint32 offset = 0) { return twipsFromText(text, offset); }

// A whole number in range; a decimal text is rounded (halves to even).
template <class Int>
bool readWhole(QStringView text, Int *out) {
  double d = 0;
  if (!readDecimal(text, &d) || !std::isfinite(d)) return false;
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
  // The value of a colour text (colorValue).
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
    e.value = colorValue(e.text);
    e.canonical = colorValueToText(e.value);
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
  ControlReader(PanelModel &panel, DesignControl &control, ControlRecord &record, bool checkNames,
                qint32 leftOffset, qint32 topOffset, ReadCaches &caches)
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
    ControlRecord &r = m_record;
    switch (field) {
      case Field::Name:
        setName(v);
        return true;
      case Field::Width:
        return setExtent(&m_control.width, v);
      case Field::Height:
        return setExtent(&m_control.height, v);
      case Field::Left:
        m_control.left = twips(v, m_checkNames ? m_leftOffset : 0);
        return true;
      case Field::Top:
        m_control.top = twips(v, m_checkNames ? m_topOffset : 0);
        return true;
      case Field::BackColor:
        setBackground(v.isEmpty() ? kGrey : colorValue(hexPrefixedIfHex(v.toString())));
        return true;
      case Field::BackColorOn:
        if (!v.isEmpty())
          r.backColorOn = colourText(v);
        else if (m_label)
          setBackground(kGrey);
        else
          r.backColorOn = QStringLiteral("&H00FFFF");
        if (r.state.compare(QLatin1String("on"), Qt::CaseInsensitive) == 0)
          setBackground(m_caches.colors.value(v));
        return true;
      case Field::BackColorOff:
        r.backColorOff = v.isEmpty() ? QStringLiteral("&HE0E0E0") : colourText(v);
        if (r.state.compare(QLatin1String("on"), Qt::CaseInsensitive) != 0)
          setBackground(m_caches.colors.value(v));
        return true;
      case Field::ButtonState:
        r.state = text(v);
        return true;
      case Field::State:
        r.state = text(v);
        m_stateMet = true;
        return true;
      case Field::ForeColor:
        if (m_label) {
          m_label->foreColor = v.isEmpty() ? 0 : colorValue(hexPrefixedIfHex(v.toString()));
          r.foreColor = colorValueToText(m_label->foreColor);
        }
        return true;
      case Field::Picture:
      case Field::PictureUpOff:
        r.pictureUpOff = text(v);
        return true;
      case Field::PictureUpOn:
        r.pictureUpOn = text(v);
        return true;
      case Field::PictureDownOff:
        r.pictureDownOff = text(v);
        return true;
      case Field::PictureDownOn:
        r.pictureDownOn = text(v);
        return true;
      case Field::PictureUpOffOrigPath:
        r.pictureUpOffSourcePath = text(v);
        return true;
      case Field::PictureUpOnOrigPath:
        r.pictureUpOnSourcePath = text(v);
        return true;
      case Field::PictureDownOffOrigPath:
        r.pictureDownOffSourcePath = text(v);
        return true;
      case Field::PictureDownOnOrigPath:
        r.pictureDownOnSourcePath = text(v);
        return true;
      case Field::Caption:
        setCaption(v);
        return true;
      case Field::Flash: {
        const QStringView t = v.trimmed();
        if (equalsLower(t, "off"))
          r.flash = false;
        else if (equalsLower(t, "on"))
          r.flash = true;
        return true;
      }
      case Field::Click:
        r.click = v.toString();
        return true;
      case Field::MouseDown:
        r.mouseDown = v.toString();
        return true;
      case Field::MouseUp:
        r.mouseUp = v.toString();
        return true;
      case Field::Enabled:
        return readBool(v, &r.enabled);
      case Field::MapRouter:
        r.mapRouter = text(v);
        return true;
      case Field::MapSource:
        r.mapSource = text(v);
        return true;
      case Field::MapDestination:
        r.mapDestination = text(v);
        return true;
      case Field::HWMapType:
        r.hwMapType = text(v);
        return true;
      case Field::HWMapHostIP:
        r.hwMapHostIP = text(v);
        return true;
      case Field::HWMapHostPort:
        r.hwMapHostPort = text(v);
        return true;
      case Field::HWMapAoipSysName:
        r.hwMapAoipSysName = v.toString();
        return true;
      case Field::HWMapInternalName:
        // A pasted control takes the internal name of the panel it lands on
        // (given once it is read); the clipboard's names another panel's entry.
        if (!m_checkNames) r.setHWMapInternalName(v.toString());
        return true;
      case Field::WebURL:
        r.webURL = v.toString();
        if (m_web && !v.isEmpty()) m_web->locationURL = r.webURL;
        return true;
      case Field::MeterRouterNumber:
        return readWhole(v, &r.meterRouterNumber);
      case Field::MeterIONumber:
        return readWhole(v, &r.meterIONumber);
      case Field::MeterIsSource:
        r.meterIsSource = !equalsLower(v, "false");
        return true;
      case Field::MeterScale: {
        r.meterScale = equalsLower(v, "standard") ? 1 : equalsLower(v, "british") ? 2 : 0;
        if (MeterSettings *m = meterSettings()) m->meterScale = r.meterScale;
        return true;
      }
      case Field::MeterStyle: {
        r.meterStyle = equalsLower(v, "led") ? 0 : equalsLower(v, "gradient") ? 1 : m_fader ? 1 : 0;
        if (MeterSettings *m = meterSettings()) m->meterStyle = r.meterStyle;
        return true;
      }
      case Field::LevelLineColor:
        r.levelLineColor = text(v);
        if (m_meter) m_meter->meter.levelLineColor = m_caches.colors.value(v);
        return true;
      case Field::DecayRate:
        if (!readWhole(v, &r.decayRate)) return false;
        if (MeterSettings *m = meterSettings()) m->decayRate = r.decayRate;
        return true;
      case Field::CenterPad:
        if (!readWhole(v, &r.centerPad)) return false;
        if (MeterSettings *m = meterSettings()) m->centerPad = r.centerPad;
        return true;
      case Field::FaderNominal:
        if (!readFloat(v, &r.faderNominal)) return false;
        if (m_fader) m_fader->faderNominal = r.faderNominal;
        return true;
      case Field::HideGainValue:
        r.hideGainValue = equalsLower(v, "true") || v == u"-1";
        if (m_fader) m_fader->hideGainValue = r.hideGainValue;
        return true;
      case Field::FontName:
        if (FontSpec *f = font(); f && !v.isEmpty()) f->name = text(v);
        return true;
      case Field::FontSize: {
        float size = 0;
        FontSpec *f = font();
        if (f && readFloat(v, &size) && size > 0.0f && size <= 2048.0f) f->size = size;
        return true;
      }
      case Field::FontBold:
        if (FontSpec *f = font()) readBool(v, &f->bold);
        return true;
      case Field::FontUnderline:
        if (FontSpec *f = font()) readBool(v, &f->underline);
        return true;
      case Field::FontItalic:
        if (FontSpec *f = font()) readBool(v, &f->italic);
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
    if (!m_checkNames || !m_panel.checkForDuplicateName(name, &m_control)) {
      m_control.tag = name;
      return;
    }
    m_control.tag = m_panel.unusedName(static_cast<int>(m_control.kind()));
    if (m_meter) m_meter->setLevel(-600, -600);
  }

  bool setExtent(qint32 *target, QStringView v) {
    const qint32 value = twips(v);
    if (value < 0) return false;  // no control takes a negative size
    *target = value;
    return true;
  }

  void setBackground(qint32 color) {
    if (m_button)
      m_button->backColor = color;
    else if (m_label)
      m_label->backColor = color;
  }

  void setCaption(QStringView v) {
    QString text = v.toString();
    if (v.contains(u"\\n")) text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
    QString *target = m_button  ? &m_button->caption
                      : m_label ? &m_label->text
                      : m_fader ? &m_fader->meterName
                                : nullptr;
    if (!target) return;
    if (m_checkNames && isDefaultCaption(text)) text = m_control.tag;
    *target = text;
  }

  // A caption such as "Button12" follows the control's (possibly new) name
  // when pasting.
  bool isDefaultCaption(const QString &text) const {
    const QString stem = nameStem(m_control.kind());
    if (!(m_button || m_label || m_fader)) return false;
    if (text.size() <= stem.size() || !text.startsWith(stem, Qt::CaseInsensitive)) return false;
    return isLooseNumeric(text.mid(stem.size()));
  }

  MeterSettings *meterSettings() {
    return m_meter ? &m_meter->meter : m_fader ? &m_fader->meter : nullptr;
  }
  FontSpec *font() { return m_button ? &m_button->font : m_label ? &m_label->font : nullptr; }

  PanelModel &m_panel;
  DesignControl &m_control;
  ControlRecord &m_record;
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
      return roundHalfEven(leadingNumber(c.text));
  }
  return -1;
}

namespace {
// How a kept element names the known child it follows.
QString anchorName(QStringView child) { return child.trimmed().toString().toLower(); }
}  // namespace

std::unique_ptr<ControlRecord> ControlElementReader::build(PanelModel &panel, bool checkNames,
                                                           qint32 leftOffset, qint32 topOffset,
                                                           const HardwareMap &map) {
  settleCopies();
  const State::Child *type = nullptr;
  for (size_t k = 0; k < d->count && !type; ++k)
    if (d->children[k].field == Field::Type) type = &d->children[k];
  ControlKind kind;
  if (!type || !kindFromType(type->text.trimmed(), &kind)) kind = ControlKind::Kept;

  auto record = std::make_unique<ControlRecord>();
  if (kind == ControlKind::Kept) {
    auto *kept = panel.load<DesignKept>();
    kept->visible = true;
    kept->source = source().toString();
    if (type) kept->type = type->text.trimmed().toString();
    record->control = kept;
    // Only its name and geometry are read, first as its text gives them,
    // then as it lands (a pasted one moves and may be renamed); the rest
    // stays in its text.
    DesignKept asWritten;
    ControlRecord scratch;
    ControlReader textReader(panel, asWritten, scratch, false, 0, 0, d->caches);
    ControlReader reader(panel, *kept, *record, checkNames, leftOffset, topOffset, d->caches);
    for (size_t k = 0; k < d->count; ++k) {
      const State::Child &c = d->children[k];
      if (!isKeptControlField(c.field)) continue;
      textReader.apply(c.field, c.text);
      reader.apply(c.field, c.text);
    }
    kept->sourceName = asWritten.tag;
    kept->sourceGeometry = {asWritten.left, asWritten.top, asWritten.width, asWritten.height};
    applyHardwareMapToControl(*record, map);
    return record;
  }
  if (kind == ControlKind::Clock) {
    auto *clock = panel.load<DesignClock>();
    clock->visible = true;
    record->control = clock;
    QStringView after;  // as for the other kinds, below
    for (size_t k = 0; k < d->count; ++k) {
      const State::Child &c = d->children[k];
      if (c.name.isEmpty() || !isClockChild(c.name)) {
        if (!c.source.isEmpty())
          record->foreign.push_back({anchorName(after), c.source.toString()});
        continue;
      }
      after = c.name;
      clockIngestProperty(*clock, c.name, c.text.toString());
    }
    clock->tag = d->clockName;
    if (checkNames) {
      // Pasted clocks land like every other pasted control.
      if (panel.checkForDuplicateName(clock->tag, clock))
        clock->tag = panel.unusedName(static_cast<int>(ControlKind::Clock));
      clock->left = roundHalfEven(static_cast<double>(clock->left) - leftOffset);
      clock->top = roundHalfEven(static_cast<double>(clock->top) - topOffset);
    }
    return record;
  }

  DesignControl *control = panel.loadControl(kind);
  control->visible = true;
  if (auto *meter = ofKind<DesignMeter>(*control)) meter->setLevel(-600, -600);
  record->control = control;

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

  applyHardwareMapToControl(*record, map);
  if (!reader.stateMet() && kind == ControlKind::Label) record->backColorOn = record->backColorOff;
  return record;
}

qint32 twipsFromText(QStringView text, qint32 offset) {
  return roundHalfEven(leadingNumber(text) - static_cast<double>(offset));
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

bool readControlElement(const QString &text, ControlElementReader &reader) {
  SingleControlReader handler(reader);
  return readXml(text, handler);
}

QString ControlElementReader::keptText(const DesignKept &control) {
  settleCopies();
  const QStringView source = this->source();
  if (source.isEmpty()) return control.source;
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
  appendEscapedXmlText(name, static_cast<const QString &>(control.tag));
  const KeptGeometry &was = control.sourceGeometry;
  changed(Field::Name, control.tag != control.sourceName, name);
  changed(Field::Left, control.left != was.left, QString::number(control.left));
  changed(Field::Top, control.top != was.top, QString::number(control.top));
  changed(Field::Width, control.width != was.width, QString::number(control.width));
  changed(Field::Height, control.height != was.height, QString::number(control.height));
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

QString keptControlText(const DesignKept &control) {
  const KeptGeometry &was = control.sourceGeometry;
  if (control.tag == control.sourceName && control.left == was.left && control.top == was.top &&
      control.width == was.width && control.height == was.height)
    return control.source;
  ControlElementReader reader(control.source);
  if (!readControlElement(control.source, reader)) return control.source;
  return reader.keptText(control);
}
