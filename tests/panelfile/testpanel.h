#pragma once

// Shared helpers of the panel file tests: a panel holding one control of
// every kind with every value set, hooks that record what the reader asked
// for, and a fixed clock and settings.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "components/datetimestamp.h"
#include "model/panelmodel.h"
#include "model/settings.h"
#include "panelfile/readhooks.h"

inline QDateTime FixedTime() { return QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7)); }

inline QByteArray ReadBytes(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteBytes(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

inline QString FixturePath(const QString &name) {
  return QStringLiteral(TESSARY_FIXTURES "/panelfile/") + name;
}

// Fresh settings in a temporary start folder and a clock fixed at
// 2024-03-03 09:05:07.
class PanelFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    Settings() = ProgramSettings();
    Settings().strStartFolder = m_dir.path() + u'/';
    Settings().strPanelsFolder = Settings().strStartFolder + QStringLiteral("CVSPanels/");
    Settings().strHardwareMapFile = Settings().strPanelsFolder + QStringLiteral("HardwareMap.xml");
    QDir().mkpath(Settings().strPanelsFolder);
    DateTimeStamp::SetClock([] { return FixedTime(); });
  }
  void TearDown() override {
    DateTimeStamp::SetClock({});
    Settings() = ProgramSettings();
  }
  QString panelsFolder() const { return Settings().strPanelsFolder; }

  QTemporaryDir m_dir;
};

// Records the reader's and the paste's requests to the window.
struct RecordingHooks : ReadHooks {
  std::vector<QString> calls;  // "read:<name>", "panel", "paste", "pasted:<name>"
  void controlRead(clsControlDetails &r) override {
    calls.push_back(QStringLiteral("read:") + r.cntrlObject->Tag);
  }
  void panelRead() override { calls.push_back(QStringLiteral("panel")); }
  void pasteStarting() override { calls.push_back(QStringLiteral("paste")); }
  void controlPasted(clsControlDetails &r) override {
    calls.push_back(QStringLiteral("pasted:") + r.cntrlObject->Tag);
  }
};

// Places a control and appends its record, as the panel window does.
template <class T>
std::pair<T *, clsControlDetails *> AddControl(PanelModel &panel, const QString &name, qint32 left,
                                               qint32 top) {
  T *control = panel.Load<T>();
  control->Visible = true;
  control->Tag = name;
  control->Left = left;
  control->Top = top;
  auto record = std::make_unique<clsControlDetails>();
  record->cntrlObject = control;
  record->lngPictResizeIndex = panel.GetNewPictResize();
  clsControlDetails *raw = record.get();
  panel.PanelDetails.CollControls.push_back(std::move(record));
  return {control, raw};
}

// The panel "Studio" with the bound button "Mic.1", a dotted name whose map
// entry must be told apart from a panel of that name.
inline std::pair<DesignButton *, clsControlDetails *> StudioWithDottedButton(PanelModel &p) {
  p.pictMain.Tag = QStringLiteral("Studio");
  auto [mic, r] = AddControl<DesignButton>(p, QStringLiteral("Mic.1"), 0, 0);
  r->HWMapType = QStringLiteral("Button");
  r->HWMapHostIP = QStringLiteral("10.0.0.5");
  r->HWMapHostPort = QStringLiteral("5000");
  r->setHWMapInternalName(QStringLiteral("Studio.Mic.1"));
  r->HWMapAoipSysName = QStringLiteral("MOD_USER#3.BUT#1");
  return {mic, r};
}

// One control of every kind, every value and every optional group set
// (the hardware group shows only in server mode).
inline void FillGoldenPanel(PanelModel &p) {
  p.pictMain.Tag = QStringLiteral("Studio");
  p.Caption = QStringLiteral("Studio One");
  p.Width = 9600;
  p.Height = 7200;
  p.pictMain.BackColor = 0x404040;
  p.pictMain.ForeColor = 0xFFFFFF;
  p.PanelDetails.strPicture = QStringLiteral("back.png");
  p.PanelDetails.strPictureOrigPath = QStringLiteral("C:\\Pictures\\back.png");
  p.PanelDetails.strOnload = QStringLiteral("LOAD STUDIO");
  p.strDefaultPictureLoc = QStringLiteral("C:\\Panels\\Graphics\\");

  auto [button, b] = AddControl<DesignButton>(p, QStringLiteral("Button1"), 1200, 600);
  button->Width = 1215;
  button->Height = 495;
  button->Caption = QStringLiteral("Mic\r\nLive & <on>");
  b->BackColorOn = QStringLiteral("&H00FFFF");
  b->BackColorOff = QStringLiteral("&HE0E0E0");
  b->Flash = true;
  b->State = QStringLiteral("Off");
  b->Click = QStringLiteral("ROUTE 1 2");
  b->MouseDown = QStringLiteral("GPO 1 ON");
  b->MouseUp = QStringLiteral("GPO 1 OFF");
  b->PictureUpOff = QStringLiteral("upoff.png");
  b->strPictureUpOffOrigPath = QStringLiteral("C:\\Art\\upoff.png");
  b->PictureUpOn = QStringLiteral("upon.png");
  b->strPictureUpOnOrigPath = QStringLiteral("C:\\Art\\upon.png");
  b->PictureDownOff = QStringLiteral("downoff.png");
  b->strPictureDownOffOrigPath = QStringLiteral("C:\\Art\\downoff.png");
  b->PictureDownOn = QStringLiteral("downon.png");
  b->strPictureDownOnOrigPath = QStringLiteral("C:\\Art\\downon.png");
  b->Enabled = true;
  b->MapRouter = QStringLiteral("1");
  b->MapSource = QStringLiteral("12");
  b->MapDestination = QStringLiteral("7");
  b->HWMapType = QStringLiteral("Button");
  b->HWMapHostIP = QStringLiteral("10.0.0.5");
  b->HWMapHostPort = QStringLiteral("5000");
  b->setHWMapInternalName(QStringLiteral("Studio.Button1"));
  b->HWMapAoipSysName = QStringLiteral("MOD_USER#3.BUT#12");

  auto [label, l] = AddControl<DesignLabel>(p, QStringLiteral("Label1"), 2400, 600);
  label->Width = 1215;
  label->Height = 255;
  label->Text = QString::fromUtf8("On Air \u2013 \u00dcber \u20ac");
  label->Font = FontSpec{QStringLiteral("Tahoma"), 10, false, true, true};
  label->ForeColor = 0x0000FF;
  l->BackColorOn = QStringLiteral("&H0000FF");
  l->BackColorOff = QStringLiteral("&HFFFFFF");
  l->State = QStringLiteral("On");
  l->Enabled = true;
  l->HWMapType = QStringLiteral("GPIOButton");
  l->HWMapHostIP = QStringLiteral("10.0.0.6");
  l->HWMapHostPort = QStringLiteral("5001");
  l->setHWMapInternalName(QStringLiteral("Studio.Label1"));
  l->HWMapAoipSysName = QStringLiteral("Port3_Circuit12");

  auto [web, w] = AddControl<DesignWebBrowser>(p, QStringLiteral("WebBrowser1"), 0, 1800);
  web->Width = 3000;
  web->Height = 2000;
  web->LocationURL = QStringLiteral("http://studio.local/status");
  w->WebURL = QStringLiteral("http://studio.local/status");

  auto [meter, m] = AddControl<DesignMeter>(p, QStringLiteral("Meter1"), 3600, 1800);
  meter->Width = 400;
  meter->Height = 1500;
  m->MeterRouterNumber = 2;
  m->MeterIONumber = 17;
  m->MeterIsSource = true;
  m->MeterScale = 2;
  m->MeterStyle = 1;
  m->LevelLineColor = QStringLiteral("&H00FF00");
  m->DecayRate = 12;
  m->CenterPad = 3;

  auto [fader, f] = AddControl<DesignMeterFader>(p, QStringLiteral("MeterFader1"), 4200, 1800);
  fader->Width = 1335;
  fader->Height = 4935;
  fader->MeterName = QStringLiteral("Fader\r\nOne");
  f->MeterRouterNumber = 1;
  f->MeterIONumber = 4;
  f->MeterScale = 1;
  f->MeterStyle = 0;
  f->LevelLineColor = QStringLiteral("&H0000FF");
  f->DecayRate = 5;
  f->FaderNominal = -10.5f;
  f->HideGainValue = true;

  auto [clock, c] = AddControl<DesignClock>(p, QStringLiteral("Clock1"), 6000, 600);
  (void)c;
  clock->Width = 1095;
  clock->Height = 1095;
  clock->Digital = true;
  clock->OffSet = -2;
}
