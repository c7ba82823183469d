#include "ui/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QUndoGroup>
#include <QVBoxLayout>
#include <algorithm>

#include "app/commandline.h"
#include "app/crashrecovery.h"
#include "app/mainwindowlogic.h"
#include "app/panelfinder.h"
#include "grid/propertygrid.h"
#include "server/serversession.h"
#include "surface/paneleditor.h"
#include "ui/checkdock.h"
#include "ui/controllistdock.h"
#include "ui/finddock.h"
#include "ui/paintsupport.h"
#include "ui/palettewidget.h"
#include "ui/panelexportdialog.h"
#include "ui/panelview.h"
#include "ui/plaintext.h"
#include "ui/propertygridview.h"
#include "ui/qtconvert.h"
#include "ui/recentpanelsmenu.h"
#include "ui/serverviews.h"
#include "ui/statustips.h"

MainWindow::MainWindow(MainWindowLogic &designer, QWidget *parent)
    : QMainWindow(parent), m_designer(designer) {
  setObjectName(QStringLiteral("MDIFormDesigner"));
  setWindowTitle(designer.caption());
  m_mdi = new QMdiArea(this);
  m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdi->setBackground(QColor(0x5a, 0x62, 0x70));
  setCentralWidget(m_mdi);

  m_toolDock = new QDockWidget(tr("Tools"), this);
  m_toolDock->setObjectName(QStringLiteral("toolDock"));
  m_toolDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
  m_toolDock->setTitleBarWidget(new QWidget(m_toolDock));
  m_toolDock->setWidget(buildToolBox());
  addDockWidget(Qt::LeftDockWidgetArea, m_toolDock);

  // Find, Check Panels and the control list share one column on the right
  // of the panels as tabs, hidden until asked for; when the last of them
  // closes the column's room goes back to the panels.
  m_findDock = new FindDock(designer.finder(), this);
  m_checkDock = new CheckDock(designer.checker(), this);
  m_controlListDock = new ControlListDock(this);
  addDockWidget(Qt::RightDockWidgetArea, m_findDock);
  tabifyDockWidget(m_findDock, m_checkDock);
  tabifyDockWidget(m_checkDock, m_controlListDock);
  for (QDockWidget *dock : secondaryDocks()) dock->hide();
  // A dock put below the panels leaves the tool box and the grid their full height.
  setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
  connect(&designer.finder(), &PanelFinder::currentChanged, this,
          &MainWindow::scrollToCurrentControl);
  connect(m_controlListDock, &ControlListDock::controlsPicked, this,
          &MainWindow::scrollToCurrentControl);
  // Whenever a dock comes up, once it is laid out, the panels keep half the window.
  m_keepHalfTimer.setSingleShot(true);
  m_keepHalfTimer.setInterval(0);
  connect(&m_keepHalfTimer, &QTimer::timeout, this, &MainWindow::keepHalfForPanels);
  for (QDockWidget *dock : secondaryDocks())
    connect(dock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
      if (visible) m_keepHalfTimer.start();
    });

  buildMenus();
  statusBar();  // frames show their hint there
  resize(1280, 820);

  connect(&designer, &MainWindowLogic::captionChanged, this, &QWidget::setWindowTitle);
  connect(&designer, &MainWindowLogic::panelAdded, this, &MainWindow::onPanelAdded);
  connect(&designer, &MainWindowLogic::panelRemoved, this, &MainWindow::onPanelRemoved);
  connect(&designer, &MainWindowLogic::panelReloaded, this,
          [this](PanelEditor *from, PanelEditor *to) {
            PanelSubWindow *old = subWindowOf(from), *now = subWindowOf(to);
            if (old && now) now->takePlaceOf(*old);
          });
  connect(&designer, &MainWindowLogic::panelRaised, this, [this](PanelEditor *panel) {
    if (auto *w = subWindowOf(panel)) m_mdi->setActiveSubWindow(w);
  });
  connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *w) {
    auto *panelWindow = qobject_cast<PanelSubWindow *>(w);
    m_designer.activatePanel(panelWindow ? &panelWindow->panel() : nullptr);
    m_controlListDock->setPanel(m_designer.activePanel());
    // The grid shows the current object of the panel that comes forward.
    if (panelWindow) panelWindow->panel().requestFillProperties();
    refreshMenuStates();
    refreshZoom();
  });
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
          &MainWindow::refreshMenuStates);
  connect(qApp, &QApplication::focusChanged, this, &MainWindow::refreshMenuStates);
  ConnectionStatus &status = designer.server().status();
  setConnectedLabel(status.text(), status.color());
  connect(&status, &ConnectionStatus::changed, this, &MainWindow::setConnectedLabel);
  m_serverViews = new ServerViews(designer.server(), this);
  refreshMenuStates();
}

MainWindow::~MainWindow() {
  // The MDI area closes its windows while the base class destroys it.
  disconnect(m_mdi, nullptr, this, nullptr);
  disconnect(qApp, nullptr, this, nullptr);
}

QAction *MainWindow::addCommand(QMenu *menu, const QString &name, const QString &caption,
                                const QKeySequence &shortcut) {
  QAction *a = menu->addAction(caption);
  a->setObjectName(name);
  if (!shortcut.isEmpty()) a->setShortcut(shortcut);
  a->setStatusTip(statusTipOf(name));
  // Connected before the command itself: a value typed in the grid and not
  // yet entered is applied before the command acts (or saves).
  connect(a, &QAction::triggered, &m_designer.grid(), &PropertyGrid::commitOpenEdit);
  m_actions.insert(name, a);
  return a;
}

void MainWindow::buildMenus() {
  MainWindowLogic *d = &m_designer;
  QMenu *file = menuBar()->addMenu(tr("&File"));
  file->setObjectName(QStringLiteral("mnuFile"));
  connect(addCommand(file, "mnuNewPanel", tr("&New Panel"), QKeySequence(Qt::CTRL | Qt::Key_N)),
          &QAction::triggered, d, &MainWindowLogic::newPanel);
  connect(addCommand(file, "mnuSavePanel", tr("&Save Panel"), QKeySequence(Qt::CTRL | Qt::Key_S)),
          &QAction::triggered, d, &MainWindowLogic::save);
  connect(addCommand(file, "mnuSaveAs", tr("Save Panel &As"), QKeySequence(Qt::CTRL | Qt::Key_A)),
          &QAction::triggered, d, &MainWindowLogic::saveAs);
  connect(addCommand(file, "mnuOpenPanel", tr("&Open Panel"), QKeySequence(Qt::CTRL | Qt::Key_O)),
          &QAction::triggered, d, &MainWindowLogic::choosePanelToOpen);
  connect(addCommand(file, "mnuOpenLocalPanel", tr("Open &Local Panel")), &QAction::triggered, d,
          &MainWindowLogic::chooseLocalPanelToOpen);
  connect(addCommand(file, "mnuConnect", tr("Connect to Se&rver…")), &QAction::triggered, d,
          &MainWindowLogic::connectToServer);
  connect(addCommand(file, "mnuWorkLocally", tr("&Work Locally")), &QAction::triggered, d,
          &MainWindowLogic::workLocally);
  file->addSeparator();
  connect(addCommand(file, "mnuExportImage", tr("E&xport Image…")), &QAction::triggered, this,
          [this, d] {
            if (const PanelEditor *panel = d->activePanel())
              exportPanelImage(this, d->ui(), panel->model());
          });
  connect(addCommand(file, "mnuPrint", tr("Pr&int…"), QKeySequence(Qt::CTRL | Qt::Key_P)),
          &QAction::triggered, this, [this, d] {
            if (const PanelEditor *panel = d->activePanel())
              printPanel(this, d->ui(), panel->model());
          });
  file->addSeparator();
  // Ctrl+F4 closes the panel window as its own close button does; Quit asks
  // about unsaved panels as closing the main window does.
  connect(addCommand(file, "mnuClosePanel", tr("Clos&e"), QKeySequence(Qt::CTRL | Qt::Key_F4)),
          &QAction::triggered, m_mdi, &QMdiArea::closeActiveSubWindow);
  QAction *quit = addCommand(file, "mnuQuit", tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
  quit->setMenuRole(QAction::QuitRole);
  connect(quit, &QAction::triggered, this, &QWidget::close);
  connect(file, &QMenu::aboutToShow, this, &MainWindow::refreshMenuStates);

  QMenu *edit = menuBar()->addMenu(tr("&Edit"));
  edit->setObjectName(QStringLiteral("mnuEdit"));
  buildUndoCommands(edit);
  connect(addCommand(edit, "mnuCut", tr("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X)),
          &QAction::triggered, d, [this, d] { d->cut(gridHasFocus()); });
  connect(addCommand(edit, "mnuCopy", tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C)),
          &QAction::triggered, d, [this, d] { d->copy(gridHasFocus()); });
  connect(addCommand(edit, "mnuPaste", tr("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V)),
          &QAction::triggered, d, [this, d] { d->paste(gridHasFocus()); });
  connect(addCommand(edit, "mnuSelectAll", tr("Select &All"),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)),
          &QAction::triggered, d, &MainWindowLogic::selectAll);
  edit->addSeparator();
  const auto openFindDock = [this](bool replacing) {
    const bool opening = secondaryColumnClosed();
    replacing ? m_findDock->showReplace() : m_findDock->showForTyping();
    if (opening) sizeSecondaryColumn(m_findDock);
  };
  connect(addCommand(edit, "mnuFind", tr("&Find…"), QKeySequence(Qt::CTRL | Qt::Key_F)),
          &QAction::triggered, this, [openFindDock] { openFindDock(false); });
  connect(addCommand(edit, "mnuFindNext", tr("Find &Next"), QKeySequence(Qt::Key_F3)),
          &QAction::triggered, this, [this] { m_findDock->findNext(); });
  // Ctrl+H is Spread Horizontally.
  connect(addCommand(edit, "mnuReplace", tr("Find an&d Replace…"),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H)),
          &QAction::triggered, this, [openFindDock] { openFindDock(true); });
  QAction *check = addCommand(edit, "mnuCheckPanels", tr("Chec&k Panels"));
  connect(check, &QAction::triggered, this, [this] {
    const bool opening = secondaryColumnClosed();
    m_checkDock->checkNow();
    if (opening) sizeSecondaryColumn(m_checkDock);
  });
  connect(m_findDock->checkButton(), &QPushButton::clicked, check, &QAction::trigger);
  connect(edit, &QMenu::aboutToShow, this, &MainWindow::refreshMenuStates);

  buildViewMenu();
  buildArrangeMenu();

  QMenu *insert = menuBar()->addMenu(tr("&Insert"));
  insert->setObjectName(QStringLiteral("mnuInsert"));
  const struct {
    const char *name;
    QString caption;
    ControlKind kind;
  } inserts[] = {{"mnuButton", tr("&Button"), ControlKind::Button},
                 {"mnuLabel", tr("&Label"), ControlKind::Label},
                 {"mnuMeter", tr("&Meter"), ControlKind::Meter},
                 {"mnuWebBrowser", tr("&Web Browser"), ControlKind::WebBrowser},
                 {"mnuClock", tr("C&lock"), ControlKind::Clock}};
  for (const auto &entry : inserts) {
    const ControlKind kind = entry.kind;
    connect(addCommand(insert, entry.name, entry.caption), &QAction::triggered, d,
            [d, kind] { d->insertControl(kind); });
  }
  // Codec controls are kept when read but cannot be made here, so the entry says so.
  addCommand(insert, "mnuCodecControl", tr("C&odec Control"))->setEnabled(false);

  QMenu *help = menuBar()->addMenu(tr("&Help"));
  help->setObjectName(QStringLiteral("mnuHelpMenu"));
  connect(addCommand(help, "mnuHelp", tr("&Help"), QKeySequence(Qt::Key_F1)), &QAction::triggered,
          d, &MainWindowLogic::showHelp);
  help->addSeparator();
  QAction *about = addCommand(help, "mnuAbout", tr("&About Tessary Panel Designer"));
  about->setMenuRole(QAction::AboutRole);
  connect(about, &QAction::triggered, this, [this] {
    QMessageBox::about(
        this, tr("About Tessary Panel Designer"),
        tr("<h3>Tessary Panel Designer %1</h3>"
           "<p>Designs the software control panels of the CorvaneCore routing system.</p>"
           "<p>Built with Qt %2, running on Qt %3.</p>"
           "<p>Licence: proprietary software of Corvane, for use with CorvaneCore systems. "
           "Qt is used under the GNU Lesser General Public License version 3.</p>")
            .arg(kVersionText, QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion())));
  });
  QAction *aboutQt = addCommand(help, "mnuAboutQt", tr("About &Qt"));
  aboutQt->setMenuRole(QAction::AboutQtRole);
  connect(aboutQt, &QAction::triggered, qApp, &QApplication::aboutQt);
}

// Arrange: the stacking order, align, spread, distribute and Make Same,
// on the selection of the active panel.
void MainWindow::buildArrangeMenu() {
  MainWindowLogic *d = &m_designer;
  QMenu *arrange = menuBar()->addMenu(tr("&Arrange"));
  arrange->setObjectName(QStringLiteral("mnuArrange"));
  const struct {
    const char *name;
    QString caption;
    QList<QKeySequence> shortcuts;
    void (MainWindowLogic::*command)();
    bool separatorAfter;
  } entries[] = {
      // Shift+] arrives as Shift+} on many keyboards: both spellings are bound.
      {"mnuBringToFront",
       tr("Bring to &Front"),
       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketRight),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BraceRight)},
       &MainWindowLogic::bringToFront,
       false},
      {"mnuSendToBack",
       tr("Send to Bac&k"),
       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketLeft),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BraceLeft)},
       &MainWindowLogic::sendToBack,
       false},
      {"mnuBringForward",
       tr("Bring Fo&rward"),
       {QKeySequence(Qt::CTRL | Qt::Key_BracketRight)},
       &MainWindowLogic::bringForward,
       false},
      {"mnuSendBackward",
       tr("Send Backw&ard"),
       {QKeySequence(Qt::CTRL | Qt::Key_BracketLeft)},
       &MainWindowLogic::sendBackward,
       true},
      {"mnuAlignLeft",
       tr("Align &Left"),
       {QKeySequence(Qt::CTRL | Qt::Key_L)},
       &MainWindowLogic::alignLeft,
       false},
      {"mnuAlignRight",
       tr("Align R&ight"),
       {QKeySequence(Qt::CTRL | Qt::Key_R)},
       &MainWindowLogic::alignRight,
       false},
      {"mnuAlignTop",
       tr("Align T&op"),
       {QKeySequence(Qt::CTRL | Qt::Key_T)},
       &MainWindowLogic::alignTop,
       false},
      {"mnuAlignBottom",
       tr("Align &Bottom"),
       {QKeySequence(Qt::CTRL | Qt::Key_B)},
       &MainWindowLogic::alignBottom,
       false},
      {"mnuAlignCentreHorizontal",
       tr("Align &Centres Horizontally"),
       {},
       &MainWindowLogic::alignCentresHorizontally,
       false},
      {"mnuAlignCentreVertical",
       tr("Align Centres Verticall&y"),
       {},
       &MainWindowLogic::alignCentresVertically,
       true},
      {"mnuSpreadHorizontal",
       tr("Spread &Horizontally"),
       {QKeySequence(Qt::CTRL | Qt::Key_H)},
       &MainWindowLogic::spreadHorizontally,
       false},
      {"mnuSpreadVertical",
       tr("Spread &Vertically"),
       {QKeySequence(Qt::CTRL | Qt::Key_W)},
       &MainWindowLogic::spreadVertically,
       false},
      {"mnuDistributeHorizontal",
       tr("&Distribute Horizontally…"),
       {},
       &MainWindowLogic::distributeHorizontally,
       false},
      {"mnuDistributeVertical",
       tr("Distrib&ute Vertically…"),
       {},
       &MainWindowLogic::distributeVertically,
       true},
      {"mnuMakeSameWidth", tr("Make Same &Width"), {}, &MainWindowLogic::makeSameWidth, false},
      {"mnuMakeSameHeight", tr("Make Same H&eight"), {}, &MainWindowLogic::makeSameHeight, false},
      {"mnuMakeSameSize", tr("Make Same &Size"), {}, &MainWindowLogic::makeSameSize, false},
  };
  for (const auto &entry : entries) {
    QAction *action = addCommand(arrange, entry.name, entry.caption);
    action->setShortcuts(entry.shortcuts);
    connect(action, &QAction::triggered, d, entry.command);
    if (entry.separatorAfter) arrange->addSeparator();
  }
  connect(arrange, &QMenu::aboutToShow, this, &MainWindow::refreshMenuStates);
}

QWidget *MainWindow::buildToolBox() {
  auto *box = new QWidget;
  box->setObjectName(QStringLiteral("pctControlPanel"));
  auto *layout = new QVBoxLayout(box);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  m_palette = new PaletteWidget(m_designer, box);
  m_palette->setObjectName(QStringLiteral("palette"));
  layout->addWidget(m_palette);
  m_gridContainer = new QWidget(box);
  m_gridContainer->setObjectName(QStringLiteral("pictControlPanel"));
  auto *gridLayout = new QVBoxLayout(m_gridContainer);
  gridLayout->setContentsMargins(0, 0, 0, 0);
  m_gridView = new PropertyGridView(m_designer.grid(), m_gridContainer);
  m_gridView->setObjectName(QStringLiteral("PropertyGrid"));
  gridLayout->addWidget(m_gridView);
  layout->addWidget(m_gridContainer, 1);
  m_status = plainLabel(QString(), box);
  m_status->setObjectName(QStringLiteral("lblConnected"));
  m_status->setAlignment(Qt::AlignCenter);
  m_status->setMinimumHeight(24);
  m_status->setAutoFillBackground(true);
  m_status->setFrameShape(QFrame::Panel);
  m_status->setFrameShadow(QFrame::Sunken);
  layout->addWidget(m_status);
  box->setMinimumWidth(qMax(m_palette->sizeHint().width() + 8, 360));
  return box;
}

bool MainWindow::gridHasFocus() const {
  const QWidget *focus = QApplication::focusWidget();
  return focus && (focus == m_gridView || m_gridView->isAncestorOf(focus));
}

void MainWindow::setConnectedLabel(const QString &text, qint32 color) {
  m_status->setText(text);
  QPalette pal = m_status->palette();
  pal.setColor(QPalette::Window, colorFromValue(color));
  pal.setColor(QPalette::WindowText, Qt::black);
  m_status->setPalette(pal);
}

void MainWindow::setRecovery(CrashRecovery *recovery) {
  if (!m_recoveryOff) {
    m_recoveryOff = plainLabel(tr("Recovery off"), this);
    m_recoveryOff->setObjectName(QStringLiteral("lblRecoveryOff"));
    m_recoveryOff->setStyleSheet(QStringLiteral("color: #a00000; font-weight: bold;"));
    statusBar()->addPermanentWidget(m_recoveryOff);
  }
  auto show = [this, recovery] {
    m_recoveryOff->setToolTip(plainToolTip(recovery->problem()));
    m_recoveryOff->setStatusTip(recovery->problem());
    m_recoveryOff->setVisible(!recovery->problem().isEmpty());
  };
  show();
  connect(recovery, &CrashRecovery::stateChanged, m_recoveryOff, show);
}

void MainWindow::refreshMenuStates() {
  const bool panel = m_designer.saveEnabled();
  m_actions.value("mnuSavePanel")->setEnabled(panel);
  m_actions.value("mnuSaveAs")->setEnabled(panel);
  m_actions.value("mnuExportImage")->setEnabled(panel);
  m_actions.value("mnuPrint")->setEnabled(panel);
  m_actions.value("mnuPaste")->setEnabled(m_designer.pasteEnabled());
  refreshPreviewStates();
}

// View > Preview (F5) shows the active panel as operators see it, and back.
void MainWindow::buildViewMenu() {
  QMenu *view = menuBar()->addMenu(tr("&View"));
  view->setObjectName(QStringLiteral("mnuView"));
  QAction *preview = addCommand(view, "mnuPreview", tr("&Preview"), QKeySequence(Qt::Key_F5));
  preview->setCheckable(true);
  connect(preview, &QAction::triggered, this, [this](bool on) {
    if (auto *w = qobject_cast<PanelSubWindow *>(m_mdi->activeSubWindow())) w->setPreview(on);
    refreshMenuStates();
  });
  view->addSeparator();
  QAction *grid = addCommand(view, "mnuShowGrid", tr("Show &Grid"));
  grid->setCheckable(true);
  grid->setChecked(PanelCanvasView::gridShown());
  connect(grid, &QAction::toggled, this, [](bool on) { PanelCanvasView::setGridShown(on); });
  QAction *snapControls = addCommand(view, "mnuSnapToControls", tr("Snap to Co&ntrols"));
  snapControls->setCheckable(true);
  snapControls->setChecked(PanelCanvasView::snapToControls());
  connect(snapControls, &QAction::toggled, this,
          [](bool on) { PanelCanvasView::setSnapToControls(on); });
  QAction *snapGrid = addCommand(view, "mnuSnapToGrid", tr("Snap to Gri&d"));
  snapGrid->setCheckable(true);
  snapGrid->setChecked(PanelCanvasView::snapToGrid());
  connect(snapGrid, &QAction::toggled, this, [](bool on) { PanelCanvasView::setSnapToGrid(on); });
  view->addSeparator();
  QAction *list = m_controlListDock->toggleViewAction();
  list->setText(tr("Control &List"));
  list->setObjectName(QStringLiteral("mnuControlList"));
  list->setStatusTip(statusTipOf(list->objectName()));
  view->addAction(list);
  // The toggle has shown the dock by now; its tab comes to the front too.
  connect(list, &QAction::triggered, this, [this](bool shown) {
    if (!shown) return;
    m_controlListDock->raise();
    if (secondaryColumnClosed(m_controlListDock)) sizeSecondaryColumn(m_controlListDock);
  });
  m_actions.insert(list->objectName(), list);
  buildZoomCommands(view);
}

// View > Zoom In, Zoom Out, Actual Size and Fit to Window act on the active
// panel window; the status bar shows its zoom.
void MainWindow::buildZoomCommands(QMenu *view) {
  view->addSeparator();
  auto onCanvas = [this](void (PanelCanvasView::*act)()) {
    return [this, act] {
      if (auto *w = qobject_cast<PanelSubWindow *>(m_mdi->activeSubWindow())) (w->canvas()->*act)();
    };
  };
  QAction *in = addCommand(view, "mnuZoomIn", tr("Zoom &In"));
  in->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  connect(in, &QAction::triggered, this, onCanvas(&PanelCanvasView::zoomIn));
  connect(addCommand(view, "mnuZoomOut", tr("Zoom &Out"), QKeySequence(Qt::CTRL | Qt::Key_Minus)),
          &QAction::triggered, this, onCanvas(&PanelCanvasView::zoomOut));
  connect(addCommand(view, "mnuActualSize", tr("&Actual Size"), QKeySequence(Qt::CTRL | Qt::Key_0)),
          &QAction::triggered, this, onCanvas(&PanelCanvasView::actualSize));
  connect(addCommand(view, "mnuFitToWindow", tr("&Fit to Window")), &QAction::triggered, this,
          [this] {
            if (auto *w = qobject_cast<PanelSubWindow *>(m_mdi->activeSubWindow()))
              w->fitToWindow();
          });
  m_zoomLabel = plainLabel(QString(), this);
  m_zoomLabel->setObjectName(QStringLiteral("lblZoom"));
  m_zoomLabel->setToolTip(tr("Zoom of the active panel window (View menu, Ctrl+wheel)"));
  statusBar()->addPermanentWidget(m_zoomLabel);
  refreshZoom();
}

void MainWindow::refreshZoom() {
  auto *w = qobject_cast<PanelSubWindow *>(m_mdi->activeSubWindow());
  m_zoomLabel->setText(w ? tr("Zoom %1 %").arg(qRound(w->canvas()->zoom() * 100)) : QString());
  m_palette->setDragZoom(w ? w->canvas()->zoom() : 1.0);
  for (const char *name : {"mnuZoomIn", "mnuZoomOut", "mnuActualSize", "mnuFitToWindow"})
    m_actions.value(name)->setEnabled(w != nullptr);
}

void MainWindow::refreshPreviewStates() {
  auto *active = qobject_cast<PanelSubWindow *>(m_mdi->activeSubWindow());
  const bool previewing = active && active->previewSession();
  QAction *preview = m_actions.value("mnuPreview");
  preview->setEnabled(active != nullptr);
  preview->setChecked(previewing);
  // A previewed panel is not edited from the menus: its selection is not
  // even shown. Undo and Redo follow the panel's stack as always.
  for (const char *name : {"mnuPaste", "mnuSelectAll", "mnuButton", "mnuLabel", "mnuMeter",
                           "mnuWebBrowser", "mnuClock"}) {
    QAction *action = m_actions.value(name);
    if (!action) continue;
    if (previewing)
      action->setEnabled(false);
    else if (action->objectName() != QLatin1String("mnuPaste"))
      action->setEnabled(true);
  }
  // Commands on the selection are there only when something is selected
  // (Cut and Copy also act on the grid's cell while it has the focus).
  const PanelEditor *panel = m_designer.activePanel();
  const bool selected = !previewing && panel && !panel->selectedControls().empty();
  for (const char *name :
       {"mnuAlignLeft", "mnuAlignRight", "mnuAlignTop", "mnuAlignBottom", "mnuSpreadHorizontal",
        "mnuSpreadVertical", "mnuMakeSameWidth", "mnuMakeSameHeight", "mnuMakeSameSize",
        "mnuAlignCentreHorizontal", "mnuAlignCentreVertical", "mnuDistributeHorizontal",
        "mnuDistributeVertical"})
    if (QAction *action = m_actions.value(name)) action->setEnabled(selected);
  // The stacking commands only when the order would change.
  const std::pair<const char *, PanelEditor::Stacking> stacking[] = {
      {"mnuBringToFront", PanelEditor::Stacking::ToFront},
      {"mnuSendToBack", PanelEditor::Stacking::ToBack},
      {"mnuBringForward", PanelEditor::Stacking::Forward},
      {"mnuSendBackward", PanelEditor::Stacking::Backward}};
  for (const auto &[name, how] : stacking)
    if (QAction *action = m_actions.value(name))
      action->setEnabled(selected && panel->canRestack(how));
  m_controlListDock->setEnabled(!previewing);
  const bool cellOrSelection = selected || (!previewing && gridHasFocus());
  for (const char *name : {"mnuCut", "mnuCopy"})
    if (QAction *action = m_actions.value(name)) action->setEnabled(cellOrSelection);
}

// Undo and Redo name the step they would take back or do again, and are
// enabled only when there is one; they follow the active panel's stack.
void MainWindow::buildUndoCommands(QMenu *edit) {
  MainWindowLogic *d = &m_designer;
  QAction *undo = addCommand(edit, "mnuUndo", tr("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
  QAction *redo = addCommand(edit, "mnuRedo", tr("&Redo"));
  redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  connect(undo, &QAction::triggered, d, &MainWindowLogic::undo);
  connect(redo, &QAction::triggered, d, &MainWindowLogic::redo);
  QUndoGroup &group = d->undoGroup();
  auto refresh = [this, undo, redo, &group] {
    undo->setEnabled(group.canUndo());
    undo->setText(group.canUndo() ? tr("&Undo %1").arg(plainMenuText(group.undoText()))
                                  : tr("&Undo"));
    redo->setEnabled(group.canRedo());
    redo->setText(group.canRedo() ? tr("&Redo %1").arg(plainMenuText(group.redoText()))
                                  : tr("&Redo"));
  };
  connect(&group, &QUndoGroup::activeStackChanged, this, refresh);
  connect(&group, &QUndoGroup::indexChanged, this, refresh);
  connect(&group, &QUndoGroup::undoTextChanged, this, refresh);
  connect(&group, &QUndoGroup::redoTextChanged, this, refresh);
  refresh();
  edit->addSeparator();
}

void MainWindow::setRecentPanels(RecentPanels *recent) {
  if (!recent) return;
  auto *menu = new RecentPanelsMenu(*recent, this);
  QAction *before = m_actions.value("mnuConnect");
  qobject_cast<QMenu *>(before->parent())->insertMenu(before, menu);
}

void MainWindow::scrollToCurrentControl() {
  PanelEditor *panel = m_designer.activePanel();
  PanelSubWindow *window = panel ? subWindowOf(panel) : nullptr;
  const auto *control =
      panel ? dynamic_cast<const DesignControl *>(panel->currentControl()) : nullptr;
  if (!window || !control) return;
  // Into view inside the panel window first, then the panel window's part
  // inside the main window.
  PanelCanvasView *canvas = window->canvas();
  const QRect inCanvas =
      canvas->pixelRect(control->left, control->top, control->width, control->height)
          .toAlignedRect();
  window->scrollArea()->ensureVisible(inCanvas.center().x(), inCanvas.center().y(),
                                      inCanvas.width() / 2 + 20, inCanvas.height() / 2 + 20);
  const QRect target(canvas->mapTo(m_mdi->viewport(), inCanvas.topLeft()), inCanvas.size());
  const QRect view = m_mdi->viewport()->rect().adjusted(20, 20, -20, -20);
  auto scrollBy = [](QScrollBar *bar, int delta) { bar->setValue(bar->value() + delta); };
  if (target.right() > view.right())
    scrollBy(m_mdi->horizontalScrollBar(), target.right() - view.right());
  if (target.left() < view.left())
    scrollBy(m_mdi->horizontalScrollBar(), target.left() - view.left());
  if (target.bottom() > view.bottom())
    scrollBy(m_mdi->verticalScrollBar(), target.bottom() - view.bottom());
  if (target.top() < view.top()) scrollBy(m_mdi->verticalScrollBar(), target.top() - view.top());
}

PanelSubWindow *MainWindow::subWindowOf(PanelEditor *panel) const {
  for (QMdiSubWindow *w : m_mdi->subWindowList()) {
    auto *pw = qobject_cast<PanelSubWindow *>(w);
    if (pw && &pw->panel() == panel) return pw;
  }
  return nullptr;
}

void MainWindow::onPanelAdded(PanelEditor *panel) {
  auto *w = new PanelSubWindow(*panel, m_designer);
  connect(w, &PanelSubWindow::previewChanged, this, &MainWindow::refreshMenuStates);
  connect(w->canvas(), &PanelCanvasView::zoomChanged, this, &MainWindow::refreshZoom);
  connect(panel, &PanelEditor::changed, this, [this](int flags) {
    if (flags & (PanelEditor::Selection | PanelEditor::Structure | PanelEditor::Order))
      refreshMenuStates();
  });
  // QMdiArea places a window that has a size by trying the corners of every
  // open window against all of them, which grows with the cube of the number
  // open; a window without a size it leaves where it is, and it is placed here.
  w->resize(0, 0);
  m_mdi->addSubWindow(w);
  w->showPanelSize();
  w->move(nextWindowPlace(w->size()));
  w->show();
  m_mdi->setActiveSubWindow(w);
  w->canvas()->setFocus();
  refreshMenuStates();
}

QPoint MainWindow::nextWindowPlace(const QSize &size) const {
  // Cascaded one title bar apart, starting again at the top left when the
  // next window would begin in the lower half of the area; moved back so
  // that the whole window is in view where it fits.
  QStyleOptionTitleBar option;
  option.initFrom(m_mdi);
  const int step = qMax(8, m_mdi->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, m_mdi));
  const QSize area = m_mdi->viewport()->size();
  const int steps = qMax(1, area.height() / 2 / step);
  const int k = int((m_mdi->subWindowList().size() - 1) % steps);
  return {qBound(0, k * step, area.width() - size.width()),
          qBound(0, k * step, area.height() - size.height())};
}

void MainWindow::onPanelRemoved(PanelEditor *panel) {
  if (m_controlListDock->panel() == panel) m_controlListDock->setPanel(nullptr);
  if (PanelSubWindow *w = subWindowOf(panel)) {
    w->hide();
    w->deleteLater();
  }
  refreshMenuStates();
}

void MainWindow::closeEvent(QCloseEvent *event) {
  m_designer.grid().commitOpenEdit();
  if (!m_designer.queryExit()) {
    event->ignore();
    return;
  }
  event->accept();
  saveLayout();
}

namespace {
// Raised whenever the docks or their order change, so that a layout saved by
// another version is not restored over them.
constexpr int kLayoutVersion = 4;
}  // namespace

QList<QDockWidget *> MainWindow::secondaryDocks() const {
  return {m_findDock, m_checkDock, m_controlListDock};
}

bool MainWindow::secondaryColumnClosed(const QDockWidget *except) const {
  for (const QDockWidget *dock : secondaryDocks())
    if (dock != except && !dock->isHidden() && !dock->isFloating()) return false;
  return true;
}

void MainWindow::sizeSecondaryColumn(QDockWidget *dock) {
  if (!dock->isFloating()) resizeDocks({dock}, {kSecondaryColumnWidth}, Qt::Horizontal);
}

void MainWindow::showEvent(QShowEvent *event) {
  QMainWindow::showEvent(event);
  m_keepHalfTimer.start();  // a restored layout, once laid out
}

void MainWindow::keepHalfForPanels() {
  if (!isVisible()) return;
  for (const Qt::Orientation across : {Qt::Horizontal, Qt::Vertical}) {
    const bool horizontal = across == Qt::Horizontal;
    const auto extent = [horizontal](const QWidget *w) {
      return horizontal ? w->width() : w->height();
    };
    const auto least = [horizontal](const QWidget *w) {
      const QSize hint = w->minimumSizeHint().expandedTo(w->minimumSize());
      return horizontal ? hint.width() : hint.height();
    };
    int missing = extent(this) / 2 - extent(m_mdi);
    if (missing <= 0) continue;
    // The tabbed docks give first, the tool box last, each down to its least
    // size; tabs of one group are one dock, as narrow as its widest tab allows.
    QList<QDockWidget *> order = findChildren<QDockWidget *>(Qt::FindDirectChildrenOnly);
    std::stable_partition(order.begin(), order.end(),
                          [this](const QDockWidget *d) { return d != m_toolDock; });
    QList<QDockWidget *> docks, done;
    QList<int> sizes;
    for (QDockWidget *dock : order) {
      const Qt::DockWidgetArea area = dockWidgetArea(dock);
      const bool beside = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
      if (missing <= 0 || done.contains(dock) || !dock->isVisible() || dock->isFloating() ||
          beside != horizontal)
        continue;
      const QList<QDockWidget *> group = tabifiedDockWidgets(dock) << dock;
      done << group;
      int floor = 0;
      for (const QDockWidget *tab : group)
        if (!tab->isHidden()) floor = std::max(floor, least(tab));
      const int give = std::min(missing, extent(dock) - floor);
      if (give <= 0) continue;
      docks << dock;
      sizes << extent(dock) - give;
      missing -= give;
    }
    if (!docks.isEmpty()) resizeDocks(docks, sizes, across);
  }
}

void MainWindow::setLayoutSettings(QSettings *settings) {
  m_layoutSettings = settings;
  if (!settings) return;
  settings->beginGroup(QStringLiteral("mainWindow"));
  if (settings->value(QStringLiteral("version")).toInt() == kLayoutVersion) {
    // Qt puts a window whose screen is gone back on a visible one.
    restoreGeometry(settings->value(QStringLiteral("geometry")).toByteArray());
    restoreState(settings->value(QStringLiteral("state")).toByteArray(), kLayoutVersion);
  }
  m_findDock->closedFilesBox()->setChecked(
      settings->value(QStringLiteral("findClosedFiles")).toBool());
  QComboBox *scope = m_checkDock->scopeBox();
  if (const int i = scope->findData(settings->value(QStringLiteral("checkScope"))); i >= 0)
    scope->setCurrentIndex(i);
  m_actions.value("mnuShowGrid")->setChecked(settings->value(QStringLiteral("showGrid")).toBool());
  m_actions.value("mnuSnapToControls")
      ->setChecked(settings->value(QStringLiteral("snapToControls"), true).toBool());
  m_actions.value("mnuSnapToGrid")
      ->setChecked(settings->value(QStringLiteral("snapToGrid"), false).toBool());
  settings->endGroup();
}

void MainWindow::saveLayout() {
  if (!m_layoutSettings) return;
  m_layoutSettings->beginGroup(QStringLiteral("mainWindow"));
  m_layoutSettings->setValue(QStringLiteral("version"), kLayoutVersion);
  m_layoutSettings->setValue(QStringLiteral("geometry"), saveGeometry());
  m_layoutSettings->setValue(QStringLiteral("state"), saveState(kLayoutVersion));
  m_layoutSettings->setValue(QStringLiteral("findClosedFiles"),
                             m_findDock->closedFilesBox()->isChecked());
  m_layoutSettings->setValue(QStringLiteral("checkScope"), m_checkDock->scopeBox()->currentData());
  m_layoutSettings->setValue(QStringLiteral("showGrid"),
                             m_actions.value("mnuShowGrid")->isChecked());
  m_layoutSettings->setValue(QStringLiteral("snapToControls"),
                             m_actions.value("mnuSnapToControls")->isChecked());
  m_layoutSettings->setValue(QStringLiteral("snapToGrid"),
                             m_actions.value("mnuSnapToGrid")->isChecked());
  m_layoutSettings->endGroup();
  m_layoutSettings->sync();
}
