// Builds help.pdf from the Markdown user manual:
//   tessary-mkhelp manual.md help.pdf
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: tessary-mkhelp MANUAL.md OUTPUT.pdf\n");
    return 2;
  }
  QFile in(QString::fromLocal8Bit(argv[1]));
  if (!in.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "tessary-mkhelp: cannot read %s\n", argv[1]);
    return 1;
  }
  QTextDocument doc;
  doc.setDefaultStyleSheet(QStringLiteral(
      "h1 { color: #1d3557; } h2 { color: #1d3557; } code { background: #eeeeee; }"));
  doc.setMarkdown(QString::fromUtf8(in.readAll()));

  QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
  pdf.setTitle(QStringLiteral("Tessary Panel Designer - User Manual"));
  pdf.setPageSize(QPageSize(QPageSize::A4));
  pdf.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
  pdf.setResolution(300);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(10.5);
  doc.setDefaultFont(font);
  doc.print(&pdf);
  return 0;
}
