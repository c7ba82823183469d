#pragma once

#include <QHash>
#include <QString>
#include <array>

#include "model/xmldoc.h"

// The quick reader behind ParseXmlTree. It reads the plain XML that panel
// files, clipboard texts and hardware maps are made of: an optional
// declaration, elements with ASCII names, attributes with plain values,
// text with the five predefined entities and character references, CDATA
// sections, comments and processing instructions. On that it builds exactly
// the tree Qt's stream reader gives. Whatever lies outside it (including
// every fault) it leaves to the stream reader, which decides.
enum class PlainXmlRead {
  Read,      // the tree is complete
  TooDeep,   // refused: nested deeper than allowed
  NotPlain,  // left to the stream reader; the tree is unspecified
};

PlainXmlRead ReadPlainXmlTree(const QString &text, XmlElement &root, int maxDepth);

// Reads the tree with Qt's stream reader: the judge of every text the quick
// reader leaves to it, and the measure the quick reader is held to.
bool ReadXmlTreeWithStreamReader(const QString &text, XmlElement &root, int maxDepth);

// Ends a run of text between tags: unless it is only white space it joins the
// element's text. The run is emptied, its buffer kept for the next one.
void KeepTextRun(XmlElement &element, QString &run);

// Element names repeat thousands of times in a large document; equal names
// share one string instead of each element holding a copy. A small open
// table indexed by the name's hash keeps the memory bounded: a name that
// finds no free or equal slot within a few steps takes its home slot over.
class XmlNameCache {
 public:
  QString get(QStringView name) {
    const size_t home = qHash(name) % m_slots.size();
    for (size_t step = 0; step < kSteps; ++step) {
      QString &slot = m_slots[(home + step) % m_slots.size()];
      if (slot.isNull()) {
        slot = name.toString();
        return slot;
      }
      if (slot == name) return slot;
    }
    m_slots[home] = name.toString();
    return m_slots[home];
  }

 private:
  static constexpr size_t kSteps = 8;
  std::array<QString, 512> m_slots;
};
