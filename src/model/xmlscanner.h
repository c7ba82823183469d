#pragma once

#include "model/xmlreader.h"

// The quick scanner behind readXml. It reads the plain XML that panel files,
// clipboard texts and hardware maps are made of: an optional declaration,
// elements with ASCII names, attributes with plain values, text with the five
// predefined entities and character references, CDATA sections, comments and
// processing instructions. On that it sends exactly the events Qt's stream
// reader would lead to. Whatever lies outside it (including every fault) it
// leaves to the stream reader, which decides.
//
// Events are passed on up to the last tag that was read whole; what follows
// that tag is held back until the next tag is read, so that the stream reader
// can take over exactly after the `tags` start and end tags already passed.
struct PlainXmlScan {
  enum class Result {
    Read,               // the whole document was read
    NotPlain,           // left to the stream reader from the start
    TooDeep,            // refused: nested deeper than allowed
    TooManyAttributes,  // refused: an element with too many attributes
  };
  Result result = Result::NotPlain;
  qsizetype tags = 0;    // start and end tags passed to the handler
  qsizetype offset = 0;  // where a refused element starts
};

PlainXmlScan scanPlainXml(QStringView text, XmlHandler &handler, const XmlLimits &limits);
