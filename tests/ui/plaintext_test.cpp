// Outside text in the shell: boxes, labels, lists and tooltips show it as
// the plain text it is, and never more of it than a screen holds.
#include "ui/plaintext.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "shellfixture.h"
#include "support/hostiletext.h"
#include "ui/qtui.h"

namespace {

// Every box and dialog of the Ui service that shows a text it is given.
const struct {
  const char *name;
  std::function<void(Ui &, const QString &)> ask;
} kBoxRoutes[] = {
    {"message",
     [](Ui &ui, const QString &t) { ui.message("Open " + t + " there?", Ui::Buttons::YesNo); }},
    {"failure", [](Ui &ui, const QString &t) { ui.failure("Error Saving File - " + t); }},
    {"choose",
     [](Ui &ui, const QString &t) {
       ui.choose(t + " was changed on disk", {"Overwrite", "Cancel"});
     }},
    {"recovery offer",
     [](Ui &ui, const QString &t) {
       ui.offerRecovery("The designer did not end normally.", {t + " (never saved)"});
     }},
    {"input box", [](Ui &ui, const QString &t) { ui.inputBox(t, "Save As", "Studio1"); }},
};

// What the box `ask` opens shows in its labels, one label a line; the box
// is closed without an answer.
QString shownByBox(const std::function<void()> &ask) {
  QString shown;
  QTimer::singleShot(0, [&] {
    auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (!box) return;
    for (const QLabel *label : box->findChildren<QLabel *>())
      shown += shownAs(label->text(), label->textFormat()) + u'\n';
    box->reject();
  });
  ask();
  return shown;
}

}  // namespace

TEST(PlainText, BoxesShowOutsideTextAsItIs) {
  QtUi ui;
  for (const auto &route : kBoxRoutes)
    for (const QString &text : kHostileTexts)
      EXPECT_TRUE(shownByBox([&] { route.ask(ui, text); }).contains(text))
          << route.name << ": " << text.toStdString();
}

// A megabyte name in one line or in many: the box shows its beginning, cut.
TEST(PlainText, BoxesShowOnlyTheBeginningOfAHugeText) {
  QtUi ui;
  for (const QString &huge :
       {QString("Studio ").repeated(300000), QString("Studio\n").repeated(300000)})
    for (const auto &route : kBoxRoutes) {
      const QString shown = shownByBox([&] { route.ask(ui, huge); });
      EXPECT_TRUE(shown.contains("Studio")) << route.name;
      EXPECT_TRUE(shown.contains(QChar(0x2026))) << route.name;
      EXPECT_LT(shown.size(), 40000) << route.name;
    }
}

// Every label of the window shows its text as plain text, and every list
// draws and explains its rows through the delegate that keeps them plain.
TEST_F(ShownMainWindow, EveryLabelAndListShowsItsTextAsPlainText) {
  for (const QLabel *label : window.findChildren<QLabel *>())
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
  int views = 0;
  for (QAbstractItemView *view : window.findChildren<QAbstractItemView *>()) {
    // Column titles and the drop-down lists of fixed choices hold no outside text.
    if (qobject_cast<QHeaderView *>(view) ||
        qobject_cast<QComboBox *>(view->parentWidget() ? view->parentWidget()->parentWidget()
                                                       : nullptr))
      continue;
    ++views;
    EXPECT_NE(qobject_cast<PlainTextDelegate *>(view->itemDelegate()), nullptr)
        << view->objectName().toStdString();
  }
  EXPECT_GE(views, 6);  // the grid; the control, find, replace, check and server panel lists

  window.setConnectedLabel(kHostileTexts[0], 0);
  EXPECT_EQ(shownAs(window.statusLine()->text(), window.statusLine()->textFormat()),
            kHostileTexts[0]);
}

// Titles show their text as typed ("[*]" marks no change), and only its beginning.
TEST(PlainText, WindowTitlesShowTheBeginningOfTheirTextAsTyped) {
  QWidget window;
  window.winId();
  window.setWindowTitle(plainWindowTitle("Studio [*] One"));
  EXPECT_EQ(window.windowHandle()->title(), "Studio [*] One");
  window.setWindowTitle(plainWindowTitle(QString("Studio ").repeated(300000)));
  EXPECT_LT(window.windowHandle()->title().size(), 300);
}
