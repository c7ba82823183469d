#include "ui/panelexport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "hwmap/hardwaremap.h"
#include "model/settings.h"
#include "panelfile/localstore.h"
#include "support/fakeui.h"
#include "surface/paneleditor.h"
#include "surface/panelreadhooks.h"
#include "ui/panelexportdialog.h"
#include "ui/panelrenderer.h"

namespace {

const QDateTime kPrinted(QDate(2026, 3, 4), QTime(5, 6, 7));

// A green panel of 9600 x 6000 twips (640 x 400 pixels) with a red label of
// 1500 x 750 twips at (1500, 1500), i.e. pixels (100, 100) to (200, 150), and
// two white buttons captioned in black at pixels (300, 100) and (450, 100),
// the second disabled.
const char *kPanelXml =
    "<Panel><Name>Export</Name><Width>9600</Width><Height>6000</Height>"
    "<BackColor>&amp;H00FF00</BackColor><ControlList><Control><Type>Label</Type>"
    "<Name>Red</Name><Caption></Caption><Left>1500</Left><Top>1500</Top><Width>1500</Width>"
    "<Height>750</Height><BackColor>&amp;H0000FF</BackColor></Control>"
    "<Control><Type>Button</Type><Name>On</Name><Caption>MMMM</Caption><Left>4500</Left>"
    "<Top>1500</Top><Width>1500</Width><Height>750</Height><FontSize>14</FontSize>"
    "<BackColorOff>&amp;HFFFFFF</BackColorOff><State>Off</State><Enabled>True</Enabled>"
    "</Control>"
    "<Control><Type>Button</Type><Name>Off</Name><Caption>MMMM</Caption><Left>6750</Left>"
    "<Top>1500</Top><Width>1500</Width><Height>750</Height><FontSize>14</FontSize>"
    "<BackColorOff>&amp;HFFFFFF</BackColorOff><State>Off</State><Enabled>False</Enabled>"
    "</Control></ControlList></Panel>";

// The darkest grey level inside a rectangle of an image.
int darkest(const QImage &image, const QRect &area) {
  int out = 255;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) out = std::min(out, qGray(image.pixel(x, y)));
  return out;
}

bool isGreen(const QColor &c) { return c.green() > 200 && c.red() < 60 && c.blue() < 60; }
bool isRed(const QColor &c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }

struct ExportTest : ::testing::Test {
  FakeUi ui;
  PanelEditor panel{ui};
  QTemporaryDir dir;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    PanelReadHooks hooks(panel);
    ASSERT_TRUE(readPanelText(QString::fromLatin1(kPanelXml), dir.filePath("Export.xml"),
                              panel.model(), hooks, HardwareMap()));
  }
  QImage png(double scale) {
    return QImage::fromData(panelFileBytes(panel.model(), ExportFormat::Png, scale, kPrinted),
                            "PNG");
  }
  QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
};

}  // namespace

TEST_F(ExportTest, PngIsOnePixelPer15TwipsTimesTheScaleAndSvgThePanelsPixelSize) {
  for (const auto &[scale, size] :
       {std::pair{1.0, QSize(640, 400)}, std::pair{2.0, QSize(1280, 800)}})
    EXPECT_EQ(png(scale).size(), size) << scale;
  panel.model().width = 9601;  // a part of a pixel is a whole one
  EXPECT_EQ(png(1).size(), QSize(641, 400));
  panel.model().width = 9600;

  const QByteArray svg = panelFileBytes(panel.model(), ExportFormat::Svg, 2.0, kPrinted);
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 640 400\"")) << svg.left(300).constData();
  EXPECT_TRUE(svg.contains("<title>Export</title>"));
}

TEST_F(ExportTest, ShowsControlsWhereTheyAreAndNoSelectionEvenWhenSelected) {
  DesignControl *label = panel.model().zOrder().front();
  panel.controlGotFocus(label);
  ASSERT_TRUE(panel.model().frame(panel.frameIndexOf(label))->visible);

  for (const double scale : {1.0, 2.0}) {
    const QImage image = png(scale);
    auto at = [&](int x, int y) { return image.pixelColor(int(x * scale), int(y * scale)); };
    EXPECT_TRUE(isRed(at(150, 125))) << scale;
    EXPECT_TRUE(isRed(at(101, 101))) << scale;
    // The selection frame's band around the control, and the panel elsewhere.
    for (const QPoint &p :
         {QPoint(97, 125), QPoint(150, 97), QPoint(203, 152), QPoint(20, 20), QPoint(630, 390)})
      EXPECT_TRUE(isGreen(at(p.x(), p.y()))) << scale << " at " << p.x() << "," << p.y();
  }
  // A disabled button's caption is grey, as operators see it; an enabled one's black.
  const QImage image = png(1);
  EXPECT_LT(darkest(image, QRect(310, 110, 80, 30)), 50);
  const int disabled = darkest(image, QRect(460, 110, 80, 30));
  EXPECT_GT(disabled, 90);
  EXPECT_LT(disabled, 170);
}

TEST_F(ExportTest, PrintedPageFitsThePanelKeepingItsAspectAboveAFooter) {
  QImage page(1000, 1400, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter p(&page);
    printPanelPage(p, QRectF(0, 0, 1000, 1400), panel.model(), kPrinted);
  }
  QRect green, ink;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) {
      const QColor c = page.pixelColor(x, y);
      if (isGreen(c)) green |= QRect(x, y, 1, 1);
      if (y > 1300 && c != Qt::white) ink |= QRect(x, y, 1, 1);
    }
  EXPECT_EQ(green.left(), 0);
  EXPECT_EQ(green.top(), 0);
  EXPECT_NEAR(green.width(), 1000, 1);
  EXPECT_NEAR(green.height(), 625, 2);  // 640 : 400
  EXPECT_TRUE(isRed(page.pixelColor(234, 195)));
  // The footer: the name at the left, the time stamp at the right.
  ASSERT_FALSE(ink.isNull());
  EXPECT_LT(ink.left(), 20);
  EXPECT_GT(ink.right(), 900);

  // A tall panel on a wide page: its height sets the scale, and it is centred across.
  panel.model().height = 60000;
  page.fill(Qt::white);
  {
    QPainter p(&page);
    printPanelPage(p, QRectF(0, 0, 1000, 100), panel.model(), kPrinted);
  }
  EXPECT_FALSE(isGreen(page.pixelColor(5, 5)));
  EXPECT_TRUE(isGreen(page.pixelColor(500, 5)));
}

TEST_F(ExportTest, PdfIsOnePrintedPage) {
  const QByteArray pdf = panelFileBytes(panel.model(), ExportFormat::Pdf, 1.0, kPrinted);
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))),
            1);

  // Print... on a PDF printer lays out the same one page.
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path("print.pdf"));
  ASSERT_TRUE(printPanelOn(printer, ui, panel.model(), kPrinted));
  QFile printed(path("print.pdf"));
  ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
  const QString text = QString::fromLatin1(printed.readAll());
  EXPECT_TRUE(text.startsWith(QLatin1String("%PDF")));
  EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))), 1);
  EXPECT_TRUE(ui.messages.empty());

  // A PDF file that cannot be made: the message names it.
  printer.setOutputFileName(path("missing/print.pdf"));
  EXPECT_FALSE(printPanelOn(printer, ui, panel.model(), kPrinted));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.firstLines().front().startsWith(
      QStringLiteral("The panel could not be printed to %1: ").arg(path("missing/print.pdf"))))
      << ui.firstLines().front().toStdString();
}

// Print to File never writes over a panel: the output ends in .pdf, and the
// panels folder's panel files and its map are refused whatever the dialog
// answered about replacing them.
TEST_F(ExportTest, PrintingToAFileMakesAPdfAndNeverWritesOverAPanelOrTheMap) {
  ProgramSettings &settings = programSettings();
  const ProgramSettings saved = settings;
  settings.panelsFolder = path("CVSPanels/");
  settings.hardwareMapFile = settings.panelsFolder + "HardwareMap.xml";
  ASSERT_TRUE(QDir().mkpath(settings.panelsFolder));
  const QByteArray panelBytes = "<Panel><Name>Other</Name></Panel>";
  for (const QString &file : {settings.panelsFolder + "Other.xml", settings.hardwareMapFile}) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(panelBytes);
  }
  const auto bytesOf = [](const QString &file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);

  struct Case {
    QString typed;
    QString written;  // empty: refused
  } cases[] = {
      {path("CVSPanels/Other.xml"), {}},
      {path("CVSPanels/../CVSPanels/HardwareMap.xml"), {}},
      {path("shot"), path("shot.pdf")},
      {path("notes.xml"), path("notes.xml.pdf")},  // an .xml outside the panels folder
      {path("CVSPanels/Sheet.PDF"), path("CVSPanels/Sheet.PDF")},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    ui.messages.clear();
    printer.setOutputFileName(c.typed);
    EXPECT_EQ(printPanelOn(printer, ui, panel.model(), kPrinted), !c.written.isEmpty());
    if (c.written.isEmpty()) {
      ASSERT_EQ(ui.messages.size(), 1u);
      EXPECT_TRUE(ui.firstLines().front().startsWith("The panel was not printed to " + c.typed))
          << ui.firstLines().front().toStdString();
    } else {
      EXPECT_TRUE(ui.messages.empty());
      EXPECT_TRUE(bytesOf(c.written).startsWith("%PDF"));
    }
  }
  EXPECT_EQ(bytesOf(settings.panelsFolder + "Other.xml"), panelBytes);
  EXPECT_EQ(bytesOf(settings.hardwareMapFile), panelBytes);
  EXPECT_FALSE(QFile::exists(path("CVSPanels/Other.xml.pdf")));

  // The dialog asked about "shot"; the existing shot.pdf is asked about here.
  QFile(path("shot.pdf")).resize(3);
  printer.setOutputFileName(path("shot"));
  ui.answers.push_back(Ui::Answer::No);
  EXPECT_FALSE(printPanelOn(printer, ui, panel.model(), kPrinted));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "shot.pdf already exists.\r\nDo you want to replace it?");
  EXPECT_EQ(QFileInfo(path("shot.pdf")).size(), 3);
  ui.answers.push_back(Ui::Answer::Yes);
  EXPECT_TRUE(printPanelOn(printer, ui, panel.model(), kPrinted));
  EXPECT_TRUE(bytesOf(path("shot.pdf")).startsWith("%PDF"));
  settings = saved;
}

TEST_F(ExportTest, AWriteReplacesTheFileWholeOrSaysWhyAndLeavesItAlone) {
  const QString file = path("shot.png");
  QFile old(file);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  ASSERT_TRUE(writeImageExport(ui, panel.model(), {file, 2.0}));
  EXPECT_EQ(QImage(file).size(), QSize(1280, 800));

  // A folder that is not there: the message names the file, nothing is written.
  const QString lost = path("missing/shot.svg");
  EXPECT_FALSE(writeImageExport(ui, panel.model(), {lost, 1.0}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.firstLines().front().startsWith(
      QStringLiteral("The image could not be written to %1: ").arg(lost)))
      << ui.firstLines().front().toStdString();
  EXPECT_FALSE(QFile::exists(lost));

  // A panel file may give any size: past a bounded image it is refused, not allocated.
  panel.model().width = 2'000'000'000;
  EXPECT_FALSE(writeImageExport(ui, panel.model(), {file, 1.0}));
  EXPECT_TRUE(ui.firstLines().back().contains(QLatin1String("too large")));
  EXPECT_EQ(QImage(file).size(), QSize(1280, 800));

  // A file name of another type is refused before anything is drawn.
  QString error;
  EXPECT_FALSE(exportPanelFile(panel.model(), path("shot.jpg"), 1.0, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(QFile::exists(path("shot.jpg")));
}
