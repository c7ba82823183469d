#pragma once

#include <QStringView>
#include <QtGlobal>
#include <memory>

class HardwareMap;
class PanelModel;
class ControlRecord;
class DesignKept;

// The control reader on the events of a larger document: feed it the events
// of one control element (the element's own start and end tags included)
// and take the control at its end. Used by the panel reader and paste.
class ControlElementReader {
 public:
  explicit ControlElementReader(QStringView documentText);
  ~ControlElementReader();
  ControlElementReader(const ControlElementReader &) = delete;
  ControlElementReader &operator=(const ControlElementReader &) = delete;

  // `depth` counts from the control element (0) down; `source` is the tag as
  // the reader passed it, so that children this version does not use are
  // kept as their exact text.
  void startElement(QStringView name, int depth, QStringView source = {});
  void endElement(int depth, QStringView source = {});
  void text(QStringView value, int depth);
  // A comment or processing instruction inside the element at `depth`.
  void markup(QStringView source, int depth);

  // Colour names ("Yellow") are read into the "&H" form a save writes
  // unless kept as written, as a restored recovery copy needs.
  void keepColourTexts(bool keep);

  // The whole control element's source text, once it has ended.
  QStringView source() const;

  // The number at the start of a direct child's text ("Left", "Top"), or -1
  // when there is no such child. Valid once the element has ended.
  qint32 number(QStringView lowerName);

  // Builds the control read since the element started (null as readControl).
  // A control element this version cannot build (no Type, or one it does not
  // know) becomes a kept control.
  std::unique_ptr<ControlRecord> build(PanelModel &panel, bool checkNames, qint32 leftOffset,
                                       qint32 topOffset, const HardwareMap &map);

  // The element read (a kept control's source) with the control's present
  // name and geometry put into its elements (keptControlText).
  QString keptText(const DesignKept &control);

 private:
  void settleCopies();
  struct State;
  std::unique_ptr<State> d;
};

// Twips from the number a text starts with; halves go to the even integer.
qint32 twipsFromText(QStringView text, qint32 offset = 0);

// Feeds the one control element of a text to the reader; false when the
// text is not XML.
bool readControlElement(const QString &text, ControlElementReader &reader);

// A kept control's text as it is written: its source with the name and
// geometry the user changed put into its Name, Left, Top, Width and Height
// elements (added after its last child where it has none), every other
// character as read.
QString keptControlText(const DesignKept &control);
