// Reading XML as events: the quick scanner against Qt's stream reader. Both
// must accept and refuse the same documents and send the same events, each
// with the exact text it was read from; where the scanner gives up half way,
// the stream reader takes over without a seam. What the scanner leaves to
// the stream reader is fine, as long as it keeps the common documents to
// itself.
#include "model/xmlscanner.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>

#include "model/codepage.h"
#include "model/xmlreader.h"

namespace {

// Every event as a line, and the texts they were read from, joined.
struct EventLog : XmlHandler {
  QStringList lines;
  QString sources;

  void startElement(QStringView name, const std::vector<XmlAttribute> &attributes,
                    QStringView source) override {
    QString line = QStringLiteral("start ") + name.toString();
    for (const XmlAttribute &a : attributes)
      line += QStringLiteral(" %1=%2").arg(a.name.toString(), a.value.toString());
    add(line, source);
  }
  void endElement(QStringView source) override { add(QStringLiteral("end"), source); }
  void text(QStringView value, QStringView source) override {
    add(QStringLiteral("text ") + value.toString(), source);
  }
  void cdata(QStringView value, QStringView source) override {
    add(QStringLiteral("cdata ") + value.toString(), source);
  }
  void comment(QStringView value, QStringView source) override {
    add(QStringLiteral("comment ") + value.toString(), source);
  }
  void processingInstruction(QStringView target, QStringView data, QStringView source) override {
    add(QStringLiteral("pi %1 %2").arg(target.toString(), data.toString()), source);
  }
  void declaration(QStringView source) override { add(QStringLiteral("declaration"), source); }

  void add(const QString &line, QStringView source) {
    lines << line + QStringLiteral(" | ") + source.toString();
    sources += source;
  }
};

std::string printable(const QString &text) {
  std::string out;
  for (QChar c : text.left(300)) {
    const char16_t u = c.unicode();
    if (u == u'\r')
      out += "\\r";
    else if (u == u'\n')
      out += "\\n";
    else if (u < 0x20 || u >= 0x7F)
      out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')).toStdString();
    else
      out += char(u);
  }
  return out;
}

// readXml, the stream reader alone and the scanner alone agree. `quick`
// tells whether the scanner decided by itself.
::testing::AssertionResult scannersAgree(const QString &text, bool *quick = nullptr,
                                         XmlLimits limits = XmlLimits()) {
  EventLog ours, theirs, scanner;
  const bool accepted = readXml(text, ours, nullptr, limits);
  const bool reference = readXmlWithStreamReader(text, theirs, nullptr, limits);
  const PlainXmlScan scan = scanPlainXml(text, scanner, limits);
  if (quick) *quick = scan.result != PlainXmlScan::Result::NotPlain;
  auto failure = [&](const char *what) {
    return ::testing::AssertionFailure() << what << ": " << printable(text);
  };
  if (accepted != reference)
    return failure(accepted ? "accepted, the stream reader refuses"
                            : "refused, the stream reader accepts");
  if (accepted && ours.lines != theirs.lines) return failure("different events");
  if (accepted && (ours.sources != text || theirs.sources != text))
    return failure("the sources do not give the text back");
  if (scan.result == PlainXmlScan::Result::Read && !(reference && scanner.lines == theirs.lines))
    return failure("the scanner reads differently");
  if (scan.result == PlainXmlScan::Result::TooDeep && reference)
    return failure("the scanner refuses as too deep");
  return ::testing::AssertionSuccess();
}

const char *kPanel =
    "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
    "<!-- a panel -->\r\n"
    "<Panel>\r\n  <Name>Studio</Name>\r\n  <BackColor>&amp;H404040</BackColor>\r\n"
    "  <Picture/>\r\n  <ControlList>\r\n    <Control>\r\n      <Type>Button</Type>\r\n"
    "      <Caption>Mic\\nLive [1] &amp; &lt;on&gt; &#233;&#x20AC;</Caption>\r\n"
    "      <Click a=\"1\" b='&lt;2'><![CDATA[ROUTE <1> & 2]]></Click>\r\n"
    "      <?note keep?>\r\n      <Left>1200</Left>\r\n    </Control>\r\n  </ControlList>\r\n"
    "</Panel>\r\n";

QString U(char16_t c) { return QString(QChar(c)); }

}  // namespace

TEST(XmlScanner, AgreesWithTheStreamReaderOnChosenDocuments) {
  enum Quick { Q, L };  // read by the scanner alone, or left to Qt's reader
  const struct {
    QString text;
    bool accepted;
    Quick quick;
  } cases[] = {
      {QString::fromUtf8(kPanel), true, Q},
      {"<a/>", true, Q},
      {"<a></a>", true, Q},
      {" <a>x</a> ", true, Q},
      {"<a>  </a>", true, Q},
      {"<a> x </a>", true, Q},
      {"<a>x<!-- c -->y</a>", true, Q},
      {"<a>x<b/>y</a>", true, Q},
      {"<a>line\r\nnext\rlast\r\r\n</a>", true, Q},
      {"\r\n<?pi x?>\r\n<a/>\r\n<!---->\r\n", true, Q},
      {U(0xFEFF) + "<a/>", true, Q},
      {U(0xFEFF) + "<?xml version='1.0'?><a/>", true, Q},
      {"<a>\t\n</a>", true, Q},
      {"<a> <![CDATA[ ]]> </a>", true, Q},
      {"<a><![CDATA[a\r\nb\rc]]]]></a>", true, Q},
      {"<a><![CDATA[]]></a>", true, Q},
      {"<a><![CDATA[x]]>", false, L},
      {"<a/><![CDATA[x]]>", false, L},
      {"<a>&amp;&lt;&gt;&quot;&apos;</a>", true, Q},
      {"<a>&#65;&#x42;&#x1F600;&#0065;&#x0041;</a>", true, Q},
      {"<a>&#13;&#10;&#9;&#32;</a>", true, Q},
      {"<a>x&#13;y\r</a>", true, Q},
      {"<a x='&amp;&#65;' y=\"'\"/>", true, Q},
      // White space inside attribute values is normalised by Qt's reader.
      {"<a x='1\r\n2\t3'/>", true, L},
      // Qt's reader reads these, for its own reasons, and keeps them to itself.
      {"<a>&#x0x41;</a>", true, L},
      {"<a>&#X41;</a>", false, L},
      {"<a>&#93;</a>", true, L},
      {"<a>&#93;]></a>", false, L},
      {"<a>]]></a>", false, L},
      {"<a>]</a>", true, Q},
      {"<a>]]</a>", true, L},
      {"<a>]></a>", true, L},
      {"<a>x]y</a>", true, Q},
      {"<a>&#0;</a>", false, L},
      {U(0xFEFF) + U(0xFEFF) + "<a/>", false, L},
      {"<a>" + U(0xFFFE) + "</a>", false, L},
      {"<a>" + U(0xFFFD) + U(0xA0) + U(0x3000) + U(0x85) + "</a>", true, Q},
      {"<a>" + U(0xD83D) + U(0xDE00) + "</a>", true, Q},
      {"<Gr" + U(0xF6) + U(0xDF) + "e>x</Gr" + U(0xF6) + U(0xDF) + "e>", true, L},
      // A lone surrogate cannot be written out: Qt's reader reads it as "?".
      {"<a>" + U(0xD800) + "</a>", true, L},
      {"<a>x" + U(0xDC00) + "</a>", true, L},
      {"<a" + U(0xD800) + "/>", false, L},
      // NUL after "]" vanishes in Qt's reader.
      {"<a>x]" + U(0) + "</a>", true, L},
      {"<a>x" + U(0) + "</a>", false, L},
      // Names beyond a few thousand characters are cut short by Qt's reader.
      {"<" + QString(1024, u'n') + "/>", true, Q},
      {"<" + QString(1025, u'n') + "/>", true, L},
      {"<" + QString(4098, u'n') + ">x</" + QString(4098, u'n') + ">", true, L},
      // Refused by both.
      {"", false, L},
      {"   ", false, L},
      {"<a><b></a>", false, L},
      {"<a/><a/>", false, L},
      {"<!DOCTYPE a><a/>", false, L},
      {"<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>", false, L},
      {"<a>&e;</a>", false, L},
      {"<a x='1' x='2'/>", false, L},
  };
  for (const auto &c : cases) {
    bool quick = false;
    EXPECT_TRUE(scannersAgree(c.text, &quick));
    EventLog log;
    EXPECT_EQ(readXml(c.text, log), c.accepted) << printable(c.text);
    EXPECT_EQ(quick, c.quick == Q) << printable(c.text);
  }
}

TEST(XmlScanner, ReadsWhatTheWriterWritesByItself) {
  QFile golden(QStringLiteral(TESSARY_FIXTURES "/panelfile/golden_panel.xml"));
  ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
  const QString text = decodeWindows1252(golden.readAll());
  bool quick = false;
  EXPECT_TRUE(scannersAgree(text, &quick));
  EXPECT_TRUE(quick);
}

TEST(XmlScanner, RefusalsSayWhatAndWhere) {
  XmlError error;
  EventLog log;
  EXPECT_FALSE(readXml(u"<a>\r\n  <b>\r\n</a>", log, &error));
  EXPECT_EQ(error.line, 3);
  EXPECT_FALSE(error.message.isEmpty());
  EXPECT_TRUE(error.text().startsWith(QLatin1String("Line 3, column ")));

  EXPECT_FALSE(readXml(u"<!DOCTYPE a>\n<a/>", log, &error));
  EXPECT_TRUE(error.message.contains(QLatin1String("document type")));
}

TEST(XmlScanner, RefusesNestingBeyondTheLimit) {
  QString deep;
  for (int i = 0; i < 300; ++i) deep += "<a>";
  deep += "x";
  for (int i = 0; i < 300; ++i) deep += "</a>";
  for (int limit : {0, 1, 299, 300, 301}) {
    XmlLimits limits;
    limits.maxDepth = limit;
    bool quick = false;
    EXPECT_TRUE(scannersAgree(deep, &quick, limits)) << limit;
    EXPECT_TRUE(quick) << limit;
    EventLog log;
    EXPECT_EQ(readXml(deep, log, nullptr, limits), limit >= 300) << limit;
    // The stream reader keeps the same limit where it reads.
    const QString oddly = deep + "<!-- x -- y -->";
    EXPECT_FALSE(readXml(oddly, log, nullptr, limits)) << limit;
  }
  // Too deep, and broken further on: refused either way.
  EventLog log;
  EXPECT_FALSE(readXml(deep.left(1200) + "<!DOCTYPE", log));
}

TEST(XmlScanner, RefusesElementsWithMoreThan256Attributes) {
  auto element = [](int attributes) {
    QString text = QStringLiteral("<a");
    for (int k = 0; k < attributes; ++k) text += QStringLiteral(" n%1='%1'").arg(k);
    return text + QStringLiteral("/>");
  };
  // Before a construct the scanner leaves to Qt's reader, and after it.
  const QString odd = QStringLiteral("<odd>&#93;</odd>");
  for (const QString &shape : {QStringLiteral("<r>%1</r>"), QStringLiteral("<r>%1") + odd + "</r>",
                               QStringLiteral("<r>") + odd + "%1</r>"}) {
    for (int attributes : {256, 257, 5000}) {
      SCOPED_TRACE(shape.toStdString() + " " + std::to_string(attributes));
      const QString text = shape.arg(element(attributes));
      EXPECT_TRUE(scannersAgree(text));
      EventLog log;
      XmlError error;
      EXPECT_EQ(readXml(text, log, &error), attributes <= 256);
      if (attributes > 256) {
        EXPECT_TRUE(error.message.contains(QLatin1String("attributes")));
        EXPECT_EQ(error.column, text.indexOf(QLatin1String("<a ")) + 1);  // the crowded element
      }
    }
  }
  EXPECT_EQ(findElementWithTooManyAttributes(u"<!-- <a b='1' c='2' d=''> --><a x=\"=\" y='>'/>", 2),
            -1);
  EXPECT_EQ(findElementWithTooManyAttributes(u"<?p a=1 b=2?><x/><a x='1' y='2'/>", 1), 17);
}

TEST(XmlScanner, AgreesWithTheStreamReaderOnMutatedPanels) {
  // Bounded and repeatable: a fixed seed and a fixed number of mutations,
  // single characters and whole pieces of markup put in, taken out or
  // overwritten.
  QRandomGenerator random(20261210);
  QString alphabet = QStringLiteral("<>&;/!?-[]\"'= \r\n\t#xaAb9:_.$^`");
  for (char16_t c : {0x0, 0x1, 0x1F, 0x85, 0xA0, 0xB7, 0xE9, 0x300, 0x2000, 0x3000, 0xD800, 0xDC00,
                     0xFEFF, 0xFFFD, 0xFFFE, 0xFFFF})
    alphabet += QChar(c);
  const QStringList pieces = {
      "<!--",         "-->",      "<![CDATA[", "]]>",
      "&#x",          "&#",       "&amp;",     "&#93;",
      "&#x0x4;",      "</",       "/>",        "<b>",
      "</b>",         "<?",       "?>",        "\r\n",
      " x=\"y\"",     " p:x='y'", " z='a\tb'", "<?xml version=\"1.0\"?>",
      "<!DOCTYPE a>", "p:",       "]]",        QString(QChar(0xD83D)) + QChar(0xDE00)};
  const QString base = QString::fromUtf8(kPanel);
  int accepted = 0;
  int quickAccepted = 0;
  int tookOver = 0;  // accepted after the scanner had passed events on
  int failures = 0;
  for (int round = 0; round < 4000 && failures < 5; ++round) {
    QString text = base;
    const int edits = 1 + random.bounded(4);
    for (int e = 0; e < edits; ++e) {
      const int at = random.bounded(int(text.size()) + 1);
      const QString piece = random.bounded(3) == 0
                                ? pieces[random.bounded(int(pieces.size()))]
                                : QString(alphabet[random.bounded(int(alphabet.size()))]);
      switch (random.bounded(3)) {
        case 0:
          text.insert(at, piece);
          break;
        case 1:
          text.remove(at, 1 + random.bounded(3));
          break;
        default:
          text.replace(at, piece.size(), piece);
          break;
      }
    }
    bool quick = false;
    const ::testing::AssertionResult agree = scannersAgree(text, &quick);
    EXPECT_TRUE(agree);
    if (!agree) ++failures;
    EventLog log, scanned;
    if (readXml(text, log)) {
      ++accepted;
      if (quick) ++quickAccepted;
      if (!quick && scanPlainXml(text, scanned, XmlLimits()).tags > 0) ++tookOver;
    }
  }
  // The mutations exercise both readers and the hand-over; most accepted
  // documents stay with the scanner.
  EXPECT_GT(accepted, 400);
  EXPECT_GT(quickAccepted * 4, accepted * 3);
  EXPECT_GT(tookOver, 20);
}

TEST(XmlTextRun, JoinsRunsOverCommentsAndDropsBlankOnes) {
  const QString source = QStringLiteral("abc def");
  XmlTextRun run;
  run.setSource(source);
  run.add(QStringView(source).left(3));
  run.endRun();
  EXPECT_EQ(run.text(), u"abc");
  EXPECT_TRUE(run.textIsView());  // a single piece of the source is not copied
  run.add(u"  ");
  run.endRun();  // blank: left out
  run.add(QStringView(source).mid(3));
  run.add(u"!");
  run.endRun();
  EXPECT_EQ(run.text(), u"abc def!");
  EXPECT_FALSE(run.textIsView());
  run.clear();
  EXPECT_TRUE(run.isEmpty());
}
