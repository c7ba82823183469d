// Reading XML into the light tree against Qt's stream reader: the same
// documents accepted and refused, and the same element trees for the
// accepted ones. The quick reader must never read a document differently;
// what it leaves to the stream reader is fine, as long as it keeps the
// common documents to itself.
#include "model/xmlscanner.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>

#include "model/codepage.h"
#include "model/xmldoc.h"

namespace {

// The reference: the tree as Qt's stream reader builds it (the reader the
// program falls back to), DOCTYPE, entity references and nesting beyond the
// limit refused, white-space-only text runs dropped.
bool ReferenceParse(const QString &text, XmlElement &root, int maxDepth = 256) {
  root = XmlElement();
  return ReadXmlTreeWithStreamReader(text, root, maxDepth);
}

bool SameTree(const XmlElement &a, const XmlElement &b) {
  if (a.name != b.name || a.text != b.text || a.children.size() != b.children.size()) return false;
  for (size_t i = 0; i < a.children.size(); ++i)
    if (!SameTree(a.children[i], b.children[i])) return false;
  return true;
}

std::string Printable(const QString &text) {
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

// ParseXmlTree and the quick reader on their own both agree with the
// reference. `quick` tells whether the quick reader decided by itself.
::testing::AssertionResult Agree(const QString &text, bool *quick = nullptr, int maxDepth = 256) {
  XmlElement ours, quickTree, theirs;
  const bool accepted = ParseXmlTree(text, ours, maxDepth);
  const PlainXmlRead read = ReadPlainXmlTree(text, quickTree, maxDepth);
  const bool reference = ReferenceParse(text, theirs, maxDepth);
  if (quick) *quick = read != PlainXmlRead::NotPlain;
  if (accepted != reference)
    return ::testing::AssertionFailure()
           << (accepted ? "accepted" : "refused") << ", the reference "
           << (reference ? "accepts" : "refuses") << ": " << Printable(text);
  if (accepted && !SameTree(ours, theirs))
    return ::testing::AssertionFailure() << "different trees: " << Printable(text);
  if (read == PlainXmlRead::TooDeep && reference)
    return ::testing::AssertionFailure() << "quick reader refuses as too deep: " << Printable(text);
  if (read == PlainXmlRead::Read && !(reference && SameTree(quickTree, theirs)))
    return ::testing::AssertionFailure() << "quick reader reads differently: " << Printable(text);
  return ::testing::AssertionSuccess();
}

const char *kPanel =
    "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
    "<!-- a panel -->\r\n"
    "<Panel>\r\n  <Name>Studio</Name>\r\n  <BackColor>&amp;H404040</BackColor>\r\n"
    "  <Picture/>\r\n  <ControlList>\r\n    <Control>\r\n      <Type>Button</Type>\r\n"
    "      <Caption>Mic\\nLive [1] &amp; &lt;on&gt; &#233;&#x20AC;</Caption>\r\n"
    "      <Click a=\"1\" b='2'><![CDATA[ROUTE <1> & 2]]></Click>\r\n"
    "      <?note keep?>\r\n      <Left>1200</Left>\r\n    </Control>\r\n  </ControlList>\r\n"
    "</Panel>\r\n";

QString U(char16_t c) { return QString(QChar(c)); }

}  // namespace

TEST(XmlScanner, AgreesWithTheReferenceOnChosenDocuments) {
  enum Quick { Q, L };  // read by the quick reader alone, or left to Qt's reader
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
      {"<a>\t\n</a>", true, Q},
      {"<a> <![CDATA[ ]]> </a>", true, Q},
      {"<a><![CDATA[a\r\nb\rc]]]]></a>", true, Q},
      {"<a><![CDATA[]]></a>", true, Q},
      {"<a><![CDATA[x]]>", false, L},
      {"<a/><![CDATA[x]]>", false, L},
      {"<a>&amp;&lt;&gt;&quot;&apos;</a>", true, Q},
      {"<a>&#65;&#x42;&#x1F600;&#0065;&#x0041;</a>", true, Q},
      {"<a>&#13;&#10;&#9;&#32;</a>", true, Q},  // blank once resolved: dropped
      {"<a>x&#13;y\r</a>", true, Q},
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
      {"<a>&#xD800;</a>", false, L},
      {"<a>&#xFFFE;</a>", false, L},
      {"<a>&#x110000;</a>", false, L},
      {"<a>&#;</a>", false, L},
      {"<a>&#x;</a>", false, L},
      {"<a>&nbsp;</a>", false, L},
      {"<a>&amp</a>", false, L},
      {"<a>& b</a>", false, L},
      {"<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>", false, L},
      {"<!DOCTYPE a><a/>", false, L},
      {"<a><!DOCTYPE a></a>", false, L},
      {"<a><!ELEMENT a></a>", false, L},
      {"<a></b>", false, L},
      {"<a><b></a></b>", false, L},
      {"<a>", false, L},
      {"</a>", false, L},
      {"<a/><b/>", false, L},
      {"<a/>text", false, L},
      {"text<a/>", false, L},
      {"<a x=\"1\" x=\"2\"/>", false, L},
      {"<a p:x=\"1\" q:x=\"2\"/>", true, Q},
      {"<a x=1/>", false, L},
      {"<a x=\"<\"/>", false, L},
      {"<a x=\"&amp;&#65;\" y='\"' z=\"'>\"/>", true, Q},
      {"<a x=\"&bogus;\"/>", false, L},
      {"<a x=\"1\"y=\"2\"/>", false, L},
      {"<a x = \"1\" />", true, Q},
      {"<a\r\n x='\r\n'\r\n/>", true, Q},
      {"<a / >", false, L},
      {"<1a/>", false, L},
      {"<a-b.c_d/>", true, Q},
      {"<p:a xmlns:p=\"urn:x\"><p:b/></p:a>", true, Q},
      {"<p:a></p:b>", false, L},
      {"<a:b:c/>", false, L},
      {"<a:/>", false, L},
      {"<a ^x=\"1\"/>", true, L},  // Qt's reader takes odd attribute names
      {"<a$b/>", false, L},
      {QString("<a") + U(0xE9) + "/>", true, L},
      {QString("<a") + U(0x2000) + "/>", false, L},
      {QString("<a") + U(0x300) + "/>", true, L},
      {"<a><!-- x -- y --></a>", false, L},
      {"<a><!-- x ---></a>", false, L},
      {"<a><!----></a>", true, Q},
      {"<a><!--></a>", false, L},
      {"<?xml version=\"1.0\"?><a/>", true, Q},
      {"<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\r\n<a/>", true, Q},
      {"<?xml  version = \"1.0\"\tstandalone=\"no\"?><a/>", true, Q},
      {"<?xml version=\"1.1\"?><a/>", false, L},
      {"<?xml version=\"1.0\" standalone=\"yes\" encoding=\"x\"?><a/>", false, L},
      {"<?xml version=\"1.0\" encoding=\"1x\"?><a/>", false, L},
      {"<?xml version=\"1.0\" encoding=\"&#65;\"?><a/>", true, L},
      {"<?xml version=\"1.0\" standalone=\"maybe\"?><a/>", false, L},
      {"<?xml version=\"1.0\"encoding=\"x\"?><a/>", false, L},
      {" <?xml version=\"1.0\"?><a/>", false, L},
      {"<?xml version=\"1.0\"?><?xml version=\"1.0\"?><a/>", false, L},
      {"<?XML version=\"1.0\"?><a/>", false, L},
      {"<?xml?><a/>", false, L},
      {"<?xml-stylesheet href=\"x\"?><a/>", true, Q},
      {"<?pi?><a/><?pi x?><!-- end -->", true, Q},
      {"<a><?xml version=\"1.0\"?></a>", false, L},
      {"<a><?pi:x?></a>", false, L},
      {"<a><?pi`x?></a>", true, L},
      {"<a><?9?></a>", false, L},
      {"<a>\x01</a>", false, L},
      {"", false, L},
      {"   ", false, L},
      {"<", false, L},
      {"<a", false, L},
      {"<a/", false, L},
      {"<a><", false, L},
      {"<a></", false, L},
      {"<a></a", false, L},
      {"<a>x</a >", true, Q},
      {"< a/>", false, L},
      {"<a b/>", false, L},
      {"<a b=/>", false, L},
      {"<a b=\"1\"", false, L},
      {U(0xFEFF) + "<a>bom</a>", true, Q},
      {U(0xFEFF) + "<?xml version=\"1.0\"?><a/>", true, Q},
      {U(0xFEFF) + U(0xFEFF) + "<a/>", false, L},
      {"<a>" + U(0xFFFE) + "</a>", false, L},
      {"<a>" + U(0xFFFD) + U(0xA0) + U(0x3000) + U(0x85) + "</a>", true, Q},
      {"<a>" + U(0xD83D) + U(0xDE00) + "</a>", true, Q},
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
  };
  for (const auto &c : cases) {
    bool quick = false;
    EXPECT_TRUE(Agree(c.text, &quick));
    XmlElement root;
    EXPECT_EQ(ParseXmlTree(c.text, root), c.accepted) << Printable(c.text);
    EXPECT_EQ(quick, c.quick == Q) << Printable(c.text);
  }
}

TEST(XmlScanner, ReadsWhatTheWriterWrites) {
  QFile golden(QStringLiteral(TESSARY_FIXTURES "/panelfile/golden_panel.xml"));
  ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
  const QString text = DecodeWindows1252(golden.readAll());
  bool quick = false;
  EXPECT_TRUE(Agree(text, &quick));
  EXPECT_TRUE(quick);
  XmlElement root;
  ASSERT_TRUE(ParseXmlTree(text, root));
  EXPECT_EQ(root.name, "Panel");
  // Equal names share one string.
  const XmlElement *list = nullptr;
  for (const XmlElement &child : root.children)
    if (child.name == "ControlList") list = &child;
  ASSERT_TRUE(list);
  ASSERT_GE(list->children.size(), 2u);
  EXPECT_EQ(list->children[0].name.constData(), list->children[1].name.constData());
}

TEST(XmlScanner, RefusesNestingBeyondTheLimit) {
  QString deep;
  for (int i = 0; i < 300; ++i) deep += "<a>";
  deep += "x";
  for (int i = 0; i < 300; ++i) deep += "</a>";
  for (int limit : {0, 1, 299, 300, 301}) {
    bool quick = false;
    EXPECT_TRUE(Agree(deep, &quick, limit)) << limit;
    EXPECT_TRUE(quick) << limit;
    XmlElement root;
    EXPECT_EQ(ParseXmlTree(deep, root, limit), limit >= 300) << limit;
  }
  // Too deep, and broken further on: refused either way.
  XmlElement root;
  EXPECT_FALSE(ParseXmlTree(deep.left(1200) + "<!DOCTYPE", root));
}

TEST(XmlScanner, AgreesWithTheReferenceOnMutatedPanels) {
  // Bounded and repeatable: a fixed seed and a fixed number of mutations,
  // single characters and whole pieces of markup put in, taken out or
  // overwritten.
  QRandomGenerator random(20261210);
  QString alphabet = QStringLiteral("<>&;/!?-[]\"'= \r\n\t#xaAb9:_.$^`");
  for (char16_t c : {0x0, 0x1, 0x1F, 0x85, 0xA0, 0xB7, 0xE9, 0x300, 0x2000, 0x3000, 0xD800, 0xDC00,
                     0xFEFF, 0xFFFD, 0xFFFE, 0xFFFF})
    alphabet += QChar(c);
  const QStringList pieces = {"<!--",
                              "-->",
                              "<![CDATA[",
                              "]]>",
                              "&#x",
                              "&#",
                              "&amp;",
                              "&#93;",
                              "&#x0x4;",
                              "</",
                              "/>",
                              "<b>",
                              "</b>",
                              "<?",
                              "?>",
                              "\r\n",
                              " x=\"y\"",
                              " p:x='y'",
                              "<?xml version=\"1.0\"?>",
                              "<!DOCTYPE a>",
                              "p:",
                              "]]",
                              QString(QChar(0xD83D)) + QChar(0xDE00)};
  const QString base = QString::fromUtf8(kPanel);
  int accepted = 0;
  int quickAccepted = 0;
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
    const ::testing::AssertionResult agree = Agree(text, &quick);
    EXPECT_TRUE(agree);
    if (!agree) ++failures;
    XmlElement root;
    if (ParseXmlTree(text, root)) {
      ++accepted;
      if (quick) ++quickAccepted;
    }
  }
  // The mutations exercise both readers; most accepted ones stay plain.
  EXPECT_GT(accepted, 400);
  EXPECT_GT(quickAccepted * 4, accepted * 3);
}
