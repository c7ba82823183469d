// The document tree: what it read comes back byte for byte, and only what
// was changed or added is written anew, laid out as the program lays out.
#include "model/xmltree.h"

#include <gtest/gtest.h>

#include "model/xmlwriter.h"

namespace {

XmlDocument read(const QString &text) {
  XmlDocument doc;
  EXPECT_TRUE(doc.read(text)) << text.toStdString();
  return doc;
}

}  // namespace

TEST(XmlTree, WritesWhatItReadByteForByte) {
  const QString texts[] = {
      QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<!-- kept -->\r\n"
                     "<?app setting=\"1\"?>\n<Map a=\"1\" b='&amp;'>\r\n\t<x>&#65;&lt;</x>"
                     "<![CDATA[<raw>]]><y/>\r\n</Map>\r\n<!-- after -->\n"),
      QString(QChar(0xFEFF)) + QStringLiteral("<a>\r\r\n</a>"),
      QStringLiteral("<a><b>x&#93;</b></a>"),  // read by Qt's reader
  };
  for (const QString &text : texts) {
    XmlDocument doc = read(text);
    EXPECT_EQ(doc.toText(), text);
  }
}

TEST(XmlTree, HoldsAttributesCommentsAndInstructions) {
  XmlDocument doc =
      read(QStringLiteral("<?xml version='1.0'?><!--c--><m a='1 &amp; 2'><?p d?>"
                          "t<![CDATA[x]]></m>"));
  ASSERT_EQ(doc.nodes().size(), 3u);
  EXPECT_EQ(doc.nodes()[0].kind, XmlNode::Kind::Declaration);
  EXPECT_EQ(doc.nodes()[1].kind, XmlNode::Kind::Comment);
  EXPECT_EQ(doc.nodes()[1].value, "c");
  const XmlNode &root = *doc.root();
  ASSERT_EQ(root.attributes.size(), 1u);
  EXPECT_EQ(root.attributes[0].second, "1 & 2");
  ASSERT_EQ(root.children.size(), 3u);
  EXPECT_EQ(root.children[0].kind, XmlNode::Kind::Instruction);
  EXPECT_EQ(root.children[0].name, "p");
  EXPECT_EQ(root.children[0].value, "d");
  EXPECT_EQ(elementText(root), "tx");
}

TEST(XmlTree, ElementTextLeavesOutBlankRunsBetweenChildren) {
  XmlDocument doc = read(QStringLiteral("<a>\r\n  x<!-- c -->y\r\n  <b/>\r\n  <c/> z </a>"));
  EXPECT_EQ(elementText(*doc.root()), "\n  xy\n   z ");
  XmlDocument blank = read(QStringLiteral("<a> <![CDATA[ ]]> <b/> </a>"));
  EXPECT_EQ(elementText(*blank.root()), "");
}

TEST(XmlTree, ChangesAreLaidOutAndTheRestStays) {
  const QString text = QStringLiteral(
      "<!-- map -->\r\n<List kind=\"x\">\r\n  <Item>1</Item>\r\n  <!-- two -->\r\n"
      "  <Item>2</Item>\r\n  <Item>3</Item>\r\n  <Empty/>\r\n</List>\r\n");
  XmlDocument doc = read(text);
  XmlNode &root = *doc.root();
  // Items 2 and 3 go with their lines; the comment stays.
  doc.removeLaidOut(root, 7);
  doc.removeLaidOut(root, 5);
  XmlNode *empty = findChildElement(root, u"empty");
  ASSERT_TRUE(empty);
  appendLaidOut(*empty, {XmlNode::textElement("New", "a<b")}, 2);
  appendLaidOut(
      root,
      {laidOutElement("Entry",
                      {XmlNode::textElement("Type", "B"), XmlNode::textElement("Blank", QString())},
                      2)},
      0);
  setElementText(*findChildElement(root, u"item"), QStringLiteral("one"));
  EXPECT_EQ(doc.toText(),
            QStringLiteral("<!-- map -->\r\n<List kind=\"x\">\r\n  <Item>one</Item>\r\n"
                           "  <!-- two -->\r\n  <Empty>\r\n    <New>a&lt;b</New>\r\n  </Empty>\r\n"
                           "  <Entry>\r\n    <Type>B</Type>\r\n    <Blank/>\r\n  </Entry>\r\n"
                           "</List>\r\n"));
}

TEST(XmlTree, AppendingToACompactElementStartsNewLines) {
  XmlDocument doc = read(QStringLiteral("<a><b/></a>"));
  appendLaidOut(*doc.root(), {XmlNode::element("c")}, 0);
  EXPECT_EQ(doc.toText(), QStringLiteral("<a><b/>\r\n  <c/>\r\n</a>"));
}

TEST(XmlTree, LaidOutWriterMatchesTheDocumentLayout) {
  XmlWriter writer;
  writeLaidOut(writer,
               laidOutElement("Control",
                              {XmlNode::textElement("Type", "LKClock & co"),
                               XmlNode::textElement("Name", QString())},
                              4),
               4);
  EXPECT_EQ(writer.take(), QStringLiteral("    <Control>\r\n      <Type>LKClock &amp; co</Type>\r\n"
                                          "      <Name/>\r\n    </Control>\r\n"));
}

TEST(XmlWriter, EscapesWhatMustBeAndDropsWhatCannotBeCarried) {
  QString text, attribute;
  appendEscapedXmlText(text, QStringLiteral("a&<>\"\x01\tb") + QChar(0xD800) + QChar(0xFFFE));
  EXPECT_EQ(text, QStringLiteral("a&amp;&lt;&gt;\"\tb"));
  appendEscapedXmlAttribute(attribute, u"\"x\"");
  EXPECT_EQ(attribute, QStringLiteral("&quot;x&quot;"));
}
