// The server dialogs and the status line in the Qt shell, driven with real
// key and mouse events on the offscreen platform.
#include "ui/serverviews.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "app/mainwindowlogic.h"
#include "model/settings.h"
#include "server/serversession.h"
#include "server/vexconnector.h"
#include "server/vexprotocol.h"
#include "support/fakeconnection.h"
#include "support/fakeui.h"
#include "ui/connectdialog.h"
#include "ui/finddock.h"
#include "ui/logindialog.h"
#include "ui/mainwindow.h"
#include "ui/openpanelviavexdialog.h"
#include "ui/paintsupport.h"
#include "ui/qtui.h"

namespace {
struct Views : ::testing::Test {
  QTemporaryDir config;
  FakeUi ui;
  std::unique_ptr<MainWindowLogic> designer;
  std::unique_ptr<MainWindow> window;
  FakeConnection *link = nullptr;

  void SetUp() override {
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    programSettings() = ProgramSettings();
    programSettings().helpAddress = "file:///start/help.pdf";
    designer = std::make_unique<MainWindowLogic>(ui);
    designer->server().setConnectionFactory([this] {
      auto c = std::make_unique<FakeConnection>();
      link = c.get();
      return c;
    });
    window = std::make_unique<MainWindow>(*designer);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  void TearDown() override {
    window.reset();
    designer.reset();
  }
  ServerViews &views() { return *window->serverViews(); }
  QString statusText() const { return window->statusLine()->text(); }
  QColor statusColor() const { return window->statusLine()->palette().color(QPalette::Window); }
  void serverSays(int code, const QString &payload) {
    QString m = buildVexMessage(code, payload);
    link->receive(m);
  }
};
}  // namespace

TEST_F(Views, ConnectDialogTypedAndEnteredConnects) {
  EXPECT_EQ(statusText(), "Not Connected");
  EXPECT_EQ(statusColor(), colorFromValue(ConnectionStatus::kLightRed));
  window->action("mnuConnect")->trigger();
  ConnectDialog *dialog = views().connectDialog();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  EXPECT_EQ(dialog->windowTitle(), "Connect To CorvaneCore");
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(dialog->portEdit()->text(), "5200");
  EXPECT_EQ(dialog->loginPassword()->echoMode(), QLineEdit::Password);
  QTest::keyClicks(dialog->addressEdit(), "10.0.0.7");
  dialog->portEdit()->selectAll();
  QTest::keyClicks(dialog->portEdit(), "40000");
  QTest::keyClicks(dialog->loginName(), "operator");
  QTest::keyClick(dialog->addressEdit(), Qt::Key_F1);
  EXPECT_EQ(ui.openedUrls, QStringList({"file:///start/help.pdf"}));
  QTest::keyClick(dialog->loginName(), Qt::Key_Return);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(programSettings().serverAddress, "10.0.0.7");
  EXPECT_EQ(programSettings().serverPort, 40000);
  EXPECT_EQ(programSettings().loginName, "operator");
  EXPECT_EQ(link->forced, QStringList({"10.0.0.7"}));
  EXPECT_EQ(statusText(), "Connecting");
  EXPECT_EQ(statusColor(), colorFromValue(ConnectionStatus::kYellow));

  link->linkUp();
  designer->server().Connector().stateTick();
  EXPECT_EQ(statusText(), "Connected");
  EXPECT_EQ(statusColor(), colorFromValue(ConnectionStatus::kGreen));

  // Reopened, it proposes what was used; Cancel closes it.
  window->action("mnuConnect")->trigger();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->addressEdit()->text(), "10.0.0.7");
  EXPECT_EQ(dialog->portEdit()->text(), "40000");
  dialog->findChild<QPushButton *>("btnCancel")->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_FALSE(designer->server().connectDialog().visible());
}

TEST_F(Views, LoginDialogPutsTheFocusInThePasswordAndEnterLogsIn) {
  programSettings().loginName = "operator";
  designer->server().Connector();
  link->linkUp();
  serverSays(VexCommand::Hello, "yes");
  LoginDialog *dialog = views().loginDialog();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  EXPECT_EQ(dialog->windowTitle(), "Tessary Login");
  EXPECT_EQ(dialog->loginName()->text(), "operator");
  EXPECT_EQ(dialog->loginPassword()->echoMode(), QLineEdit::Password);
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->loginPassword()->hasFocus(); }, 2000));
  QTest::keyClicks(dialog->loginPassword(), "s3cret");
  QTest::keyClick(dialog->loginPassword(), Qt::Key_Return);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(programSettings().loginPassword, "s3cret");
  EXPECT_EQ(link->sentCodes(), QList<int>({1, 40}));
}

TEST_F(Views, EnterInTheUserNameGoesOnToThePassword) {
  designer->server().Connector();
  link->linkUp();
  serverSays(VexCommand::Hello, "yes");
  LoginDialog *dialog = views().loginDialog();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->loginName()->hasFocus(); }, 2000));
  QTest::keyClicks(dialog->loginName(), "operator");
  QTest::keyClick(dialog->loginName(), Qt::Key_Return);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(dialog->loginPassword()->hasFocus());
  EXPECT_EQ(link->sentCodes(), QList<int>({1}));
  QTest::keyClicks(dialog->loginPassword(), "s3cret");
  QTest::keyClick(dialog->loginPassword(), Qt::Key_Enter);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(programSettings().loginName, "operator");
  EXPECT_EQ(programSettings().loginPassword, "s3cret");
  EXPECT_EQ(link->sentCodes(), QList<int>({1, 40}));
}

// The first line is chosen and current when the dialog opens: Down goes to
// the second line, Up back, and Enter opens the chosen one.
TEST_F(Views, OpenDialogWorksFromTheKeyboard) {
  programSettings().serverMode = true;
  designer->server().Connector();
  link->linkUp();
  serverSays(VexCommand::Hello, "no");
  serverSays(VexCommand::PanelList, "Studio1\tStudio One\r\nNews\r\nSport");
  link->sent.clear();
  window->action("mnuOpenPanel")->trigger();
  OpenPanelViaVexDialog *dialog = views().openDialog();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  QTreeWidget *list = dialog->panelList();
  ASSERT_TRUE(QTest::qWaitFor([&] { return list->hasFocus(); }, 2000));
  EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(list->currentItem(), list->topLevelItem(1));
  QTest::keyClick(list, Qt::Key_Up);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_TRUE(ui.messageTexts().isEmpty());
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(link->sent, QStringList({buildVexMessage(VexCommand::Panel, u"Studio1")}));
}

TEST_F(Views, OpenDialogListsNameAndCaptionAndOpensTheDoubleClickedRow) {
  programSettings().serverMode = true;
  designer->server().Connector();
  link->linkUp();
  serverSays(VexCommand::Hello, "no");
  serverSays(VexCommand::PanelList, "Studio1\tStudio One\r\nNews");
  link->sent.clear();
  window->action("mnuOpenPanel")->trigger();
  OpenPanelViaVexDialog *dialog = views().openDialog();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  EXPECT_EQ(dialog->windowTitle(), "Open Panel From Server");
  QTreeWidget *list = dialog->panelList();
  ASSERT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(list->topLevelItem(0)->text(0), "Studio1");
  EXPECT_EQ(list->topLevelItem(0)->text(1), "Studio One");
  EXPECT_EQ(list->topLevelItem(1)->text(1), "");

  const QRect row = list->visualItemRect(list->topLevelItem(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(link->sent, QStringList({buildVexMessage(VexCommand::Panel, u"News")}));
}

// With the real message boxes: the connect dialog stays in front each second
// without taking the keyboard from the main window, and its own "Invalid
// Port" box opens above it, not behind it.
TEST(ConnectDialogView, StaysInFrontWithoutTakingTheKeyboardAndItsBoxIsAboveIt) {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  programSettings() = ProgramSettings();
  QtUi ui;
  MainWindowLogic designer(ui);
  designer.server().setConnectionFactory([] { return std::make_unique<FakeConnection>(); });
  MainWindow window(designer);
  ui.setParentWidget(&window);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.action("mnuConnect")->trigger();
  ConnectDialog *dialog = window.serverViews()->connectDialog();
  auto activeIs = [](QWidget *w) {
    return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 2000);
  };
  ASSERT_TRUE(activeIs(dialog));

  // The user types into Find in the main window while the dialog is open.
  window.action("mnuFind")->trigger();
  window.activateWindow();
  ASSERT_TRUE(activeIs(&window));
  QLineEdit *find = window.findDock()->textBox();
  find->setFocus();
  for (int tick = 0; tick < 2; ++tick) {
    designer.server().connectDialog().keepInFrontTick();
    QTest::qWait(20);
    QTest::keyClicks(QApplication::focusWidget(), "ab");
  }
  EXPECT_EQ(QApplication::activeWindow(), &window);
  EXPECT_EQ(find->text(), "abab");
  EXPECT_EQ(dialog->addressEdit()->text(), "");

  // Back in the dialog, a bad port: the box's parent is the dialog.
  dialog->activateWindow();
  ASSERT_TRUE(activeIs(dialog));
  QTest::keyClicks(dialog->addressEdit(), "10.0.0.7");
  dialog->portEdit()->setText("");
  QTest::keyClicks(dialog->portEdit(), "52a0");
  QWidget *boxParent = nullptr;
  QString boxText;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
      boxParent = box->parentWidget();
      boxText = box->text();
      box->accept();
    }
  });
  closer.start(10);
  QTest::keyClick(dialog->portEdit(), Qt::Key_Return);
  closer.stop();
  EXPECT_TRUE(boxText.startsWith("Invalid Port")) << boxText.toStdString();
  EXPECT_EQ(boxParent, dialog);
}
