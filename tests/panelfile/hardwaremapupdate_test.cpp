// The hardware map update on the light tree against the same steps on a
// document: for every map the tree takes, the same text; the maps it does
// not take keep the document route.
#include <gtest/gtest.h>

#include <QDomDocument>
#include <QRandomGenerator>

#include "hwmap/hardwaremap.h"
#include "model/xmldoc.h"
#include "panelfile/panelwriter.h"

namespace {

using Records = std::vector<std::unique_ptr<clsControlDetails>>;

Records bindings(std::initializer_list<const char *> internalNames) {
  Records out;
  int k = 0;
  for (const char *name : internalNames) {
    auto r = std::make_unique<clsControlDetails>();
    r->HWMapType = QStringLiteral("Button");
    r->HWMapHostIP = QStringLiteral("10.0.0.9");
    r->HWMapHostPort = QStringLiteral("5000");
    r->setHWMapInternalName(QLatin1String(name));
    ++k;
    r->HWMapAoipSysName = QStringLiteral("MOD_USER#1.BUT#%1 & <%2>").arg(k).arg(k);
    out.push_back(std::move(r));
  }
  out.push_back(nullptr);
  out.push_back(std::make_unique<clsControlDetails>());  // not bound: left out
  return out;
}

// The three results of the save's update, by the document route: the whole
// update (version, removal, addition), removal alone and addition alone.
struct Results {
  QString update, removed, added;
  bool operator==(const Results &) const = default;
};

Results byDocument(const QString &map, const QString &panel, const Records &records) {
  Results r;
  QDomDocument doc;
  if (!ParseXml(map, doc)) return r;
  InsertVersionIntoDocument(doc, QStringLiteral("2024-03-03 09:05:07"));
  RemovePanelFromHardwareMap(doc, panel);
  if (AddControlsToHardwareMap(doc, records) || panel.isEmpty()) IndentXML(doc);
  r.update = SerializeXml(doc);
  ParseXml(map, doc);
  RemovePanelFromHardwareMap(doc, panel);
  r.removed = SerializeXml(doc);
  ParseXml(map, doc);
  if (AddControlsToHardwareMap(doc, records)) IndentXML(doc);
  r.added = SerializeXml(doc);
  return r;
}

bool byTree(const QString &map, const QString &panel, const Records &records, Results *r) {
  XmlElement root;
  if (!ReadPlainHardwareMap(map, root)) return false;
  XmlElement tree = root;
  InsertVersionIntoTree(tree, QStringLiteral("2024-03-03 09:05:07"));
  RemovePanelFromHardwareMap(tree, panel);
  r->update = AddControlsToHardwareMap(tree, records) || panel.isEmpty()
                  ? XmlElementToLaidOutText(tree)
                  : XmlElementToText(tree);
  tree = root;
  RemovePanelFromHardwareMap(tree, panel);
  r->removed = XmlElementToText(tree);
  tree = root;
  r->added = AddControlsToHardwareMap(tree, records) ? XmlElementToLaidOutText(tree)
                                                     : XmlElementToText(tree);
  return true;
}

const char *kEntry =
    "<Control><Type>Button</Type><HostIPAddress>10.0.0.1</HostIPAddress><HostPort>4000</HostPort>"
    "<InternalName>%1</InternalName><AoipSysName>OLD</AoipSysName></Control>";

QString entry(const char *internalName) { return QString::fromLatin1(kEntry).arg(internalName); }

}  // namespace

TEST(HardwareMapUpdate, TheTreeGivesTheDocumentsText) {
  const Records records = bindings({"Studio.Button1", "Studio.Label2"});
  const QString laidOut =
      "<HardwareMapList>\r\n  <Name>HardwareMapList</Name>\r\n  <ControlList>\r\n" +
      entry("Other.B4") + "\r\n" + entry(" studio.B9 ") +
      "\r\n  </ControlList>\r\n  <Version>old</Version>\r\n</HardwareMapList>\r\n";
  const struct {
    QString map;
    bool plain;
  } cases[] = {
      {laidOut, true},
      {NewHardwareMapXML(), true},
      {"<HardwareMapList><CONTROLLIST>" + entry("studio.x") + entry("Other.y") +
           "</CONTROLLIST><version><old/></version></HardwareMapList>",
       true},
      {"<HardwareMapList><Name>HardwareMapList</Name></HardwareMapList>", true},
      {"<HardwareMapList><ControlList/><ControlList>" + entry("Studio.A") +
           "</ControlList><Other>x &amp; y\r\n z</Other><Version/><VERSION>2</VERSION>"
           "</HardwareMapList>",
       true},
      {"<M><ControlList><Control><InternalName>Studio.A</InternalName>"
       "<InternalName></InternalName><InternalName>Other.A</InternalName></Control>"
       "<Odd><InternalName>Studio.B</InternalName></Odd></ControlList></M>",
       true},
      {"<M><ControlList>  <Control>\t</Control>\r\n</ControlList><Name>  x  </Name></M>", true},
      // What the tree cannot stand for keeps the document route.
      {"<?xml version=\"1.0\"?>" + laidOut, false},
      {"<!-- map -->" + laidOut, false},
      {"<M><ControlList><!-- c -->" + entry("Studio.A") + "</ControlList></M>", false},
      {"<M><Name>x<!-- c --> </Name><ControlList/></M>", false},
      {"<M><Name><![CDATA[ ]]></Name><ControlList/></M>", false},
      {"<M><Name>&#32;</Name><ControlList/></M>", false},
      {"<M><Name>" + QString(QChar(0xA0)) + "</Name><ControlList/></M>", false},
      {"<M a=\"1\"><ControlList/></M>", false},
      {"<p:M xmlns:p=\"urn:x\"><ControlList/></p:M>", false},
      {"<M>text<ControlList/></M>", false},
      {"<M><ControlList>" + entry("Studio.A") + "x</ControlList></M>", false},
      {"<M>x</M>", false},
      {"<M><ControlList>x</ControlList></M>", false},
      {"not a map", false},
      {"", false},
  };
  for (const auto &c : cases) {
    for (const char *panel : {"Studio", "", "other"}) {
      SCOPED_TRACE(c.map.toStdString() + " / " + panel);
      Results tree;
      EXPECT_EQ(byTree(c.map, QLatin1String(panel), records, &tree), c.plain);
      if (c.plain) {
        EXPECT_EQ(tree, byDocument(c.map, QLatin1String(panel), records));
      }
    }
  }
}

TEST(HardwareMapUpdate, TheStringStepsGiveTheDocumentsText) {
  // The steps on map texts take the tree where they can: the text is the
  // document's either way, and what is not XML stays as it is.
  const Records records = bindings({"Studio.Button1"});
  for (const QString &map :
       {NewHardwareMapXML(), QStringLiteral("<M><ControlList><!-- c --></ControlList></M>"),
        QStringLiteral("<M><ControlList>") + entry("Studio.Old") +
            QStringLiteral("</ControlList></M>"),
        QStringLiteral("<M/>"), QStringLiteral("junk")}) {
    SCOPED_TRACE(map.toStdString());
    const Results expected = byDocument(map, QStringLiteral("studio"), records);
    QString removed = map, added = map;
    RemovePanelFromHardwareMap(removed, QStringLiteral("studio"));
    AddControlsToHardwareMap(added, records);
    EXPECT_EQ(removed, expected.removed.isEmpty() ? map : expected.removed);
    EXPECT_EQ(added, expected.added.isEmpty() ? map : expected.added);
  }
}

TEST(HardwareMapUpdate, TheTreeGivesTheDocumentsTextOnGeneratedMaps) {
  // Bounded and repeatable: maps put together from entries of two panels,
  // layout, markup the tree refuses and odd text, each updated both ways.
  QRandomGenerator random(7031);
  const QStringList pieces = {entry("Studio.A"),
                              entry("studio.B"),
                              entry("Other.C"),
                              entry("Studio.v2.D"),
                              entry(""),
                              "\r\n    ",
                              " ",
                              "<Control/>",
                              "<Control><InternalName>Studio."
                              "E</InternalName></Control>",
                              "<Extra>x</Extra>",
                              "<!-- c -->",
                              "<![CDATA[x]]>",
                              "&amp;",
                              "&#65;",
                              "text",
                              QString(QChar(0x3000)),
                              "<Control a='1'/>",
                              "<Version>v</Version>"};
  const Records records = bindings({"Studio.A", "Studio.New"});
  int plain = 0;
  for (int round = 0; round < 600; ++round) {
    QString list;
    for (int k = random.bounded(6); k > 0; --k) list += pieces[random.bounded(int(pieces.size()))];
    QString map = QStringLiteral("<HardwareMapList>");
    if (random.bounded(2)) map += QStringLiteral("\r\n  <Name>HardwareMapList</Name>");
    if (random.bounded(4)) map += "<ControlList>" + list + "</ControlList>";
    if (random.bounded(2)) map += pieces[random.bounded(int(pieces.size()))];
    map += QStringLiteral("</HardwareMapList>\r\n");
    for (const char *panel : {"Studio", ""}) {
      Results tree;
      if (!byTree(map, QLatin1String(panel), records, &tree)) continue;
      ++plain;
      EXPECT_EQ(tree, byDocument(map, QLatin1String(panel), records))
          << map.toStdString() << " / " << panel;
    }
  }
  EXPECT_GT(plain, 200);  // the loop compares, not only skips
}
