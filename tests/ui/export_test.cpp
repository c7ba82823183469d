// File > Export Image… from the menu: the dialog's type and the typed name
// decide format and size, and an existing file is replaced only when the
// user says so.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

#include "shellfixture.h"
#include "surface/paneleditor.h"
#include "ui/panelrenderer.h"

namespace {
enum Type { Png, DoublePng, Svg };  // the dialog's types, in its order

struct ExportMenu : ShownMainWindow {
  QTemporaryDir dir;
  // What the user does in each file dialog that opens, in turn; none left: Cancel.
  std::deque<std::function<void(QFileDialog &)>> dialogs;

  // Chooses a type, types a name and presses Save.
  void willSave(Type type, const QString &name) {
    dialogs.push_back([this, type, name](QFileDialog &d) {
      d.selectNameFilter(d.nameFilters().at(type));
      // Typed into the name field: selectFile() leaves a field that has the focus alone.
      auto *field = d.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(field, nullptr);
      field->setText(dir.filePath(name));
      static_cast<QDialog &>(d).accept();  // Save, as the button does
    });
  }
  void exportImage() {
    QTimer driver;
    driver.setInterval(10);
    QObject::connect(&driver, &QTimer::timeout, [this] {
      auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
      if (!d || !d->isVisible()) return;
      if (dialogs.empty()) {
        d->reject();
        return;
      }
      auto next = std::move(dialogs.front());
      dialogs.pop_front();
      next(*d);
    });
    driver.start();
    window.action("mnuExportImage")->trigger();
  }
  QSize pixels(double scale) { return panelPixelSize(designer.activePanel()->model(), scale); }
};
}  // namespace

TEST_F(ExportMenu, TheChosenTypeOrTypedExtensionDecidesAndReplacingIsAsked) {
  EXPECT_FALSE(window.action("mnuExportImage")->isEnabled());
  window.action("mnuNewPanel")->trigger();
  ASSERT_NE(designer.activePanel(), nullptr);
  window.refreshMenuStates();
  ASSERT_TRUE(window.action("mnuExportImage")->isEnabled());
  const QString png = dir.filePath("shot.png");

  willSave(DoublePng, "shot");  // the type's extension is added
  exportImage();
  EXPECT_EQ(QImage(png).size(), pixels(2));
  willSave(Svg, "shot");
  exportImage();
  EXPECT_TRUE(QFile::exists(dir.filePath("shot.svg")));
  willSave(Svg, "typed.png");  // a typed .png wins over the chosen type
  exportImage();
  EXPECT_EQ(QImage(dir.filePath("typed.png")).size(), pixels(1));
  EXPECT_TRUE(ui.messages.empty());

  // shot.png exists: No goes back to the dialog (cancelled here), Yes replaces.
  willSave(Png, "shot");
  ui.answers.push_back(Ui::Answer::No);
  exportImage();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "shot.png already exists.\r\nDo you want to replace it?");
  EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNo);
  EXPECT_EQ(QImage(png).size(), pixels(2));
  willSave(Png, "shot");
  ui.answers.push_back(Ui::Answer::Yes);
  exportImage();
  EXPECT_EQ(QImage(png).size(), pixels(1));
  EXPECT_TRUE(dialogs.empty());
}
