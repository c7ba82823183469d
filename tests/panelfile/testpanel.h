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

inline QDateTime fixedTime() { return QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7)); }

inline QByteArray readBytes(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeBytes(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

inline QString fixturePath(const QString &name) {
  return QStringLiteral(TESSARY_FIXTURES "/panelfile/") + name;
}

// Fresh settings in a temporary start folder and a clock fixed at
// 2024-03-03 09:05:07.
class PanelFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    programSettings() = ProgramSettings();
    programSettings().startFolder = m_dir.path() + u'/';
    programSettings().panelsFolder = programSettings().startFolder + QStringLiteral("CVSPanels/");
    programSettings().hardwareMapFile =
        programSettings().panelsFolder + QStringLiteral("HardwareMap.xml");
    QDir().mkpath(programSettings().panelsFolder);
    DateTimeStamp::setClock([] { return fixedTime(); });
  }
  void TearDown() override {
    DateTimeStamp::setClock({});
    programSettings() = ProgramSettings();
  }
  QString panelsFolder() const { return programSettings().panelsFolder; }

  QTemporaryDir m_dir;
};

// Records the reader's and the paste's requests to the window.
struct RecordingHooks : ReadHooks {
  std::vector<QString> calls;  // "read:<name>", "panel", "paste", "pasted:<name>"
  void controlRead(ControlRecord &r) override {
    calls.push_back(QStringLiteral("read:") + r.control->tag);
  }
  void panelRead() override { calls.push_back(QStringLiteral("panel")); }
  void pasteStarting() override { calls.push_back(QStringLiteral("paste")); }
  void controlPasted(ControlRecord &r) override {
    calls.push_back(QStringLiteral("pasted:") + r.control->tag);
  }
};

// Places a control and appends its record, as the panel window does.
template <class T>
std::pair<T *, ControlRecord *> addControl(PanelModel &panel, const QString &name, qint32 left,
                                           qint32 top) {
  T *control = panel.load<T>();
  control->visible = true;
  control->tag = name;
  control->left = left;
  control->top = top;
  auto record = std::make_unique<ControlRecord>();
  record->control = control;
  record->frameIndex = panel.newFrameIndex();
  ControlRecord *raw = record.get();
  panel.panelRecord.records.push_back(std::move(record));
  return {control, raw};
}

// The panel "Studio" with the bound button "Mic.1", a dotted name whose map
// entry must be told apart from a panel of that name.
inline std::pair<DesignButton *, ControlRecord *> studioWithDottedButton(PanelModel &p) {
  p.canvas.tag = QStringLiteral("Studio");
  auto [mic, r] = addControl<DesignButton>(p, QStringLiteral("Mic.1"), 0, 0);
  r->hwMapType = QStringLiteral("Button");
  r->hwMapHostIP = QStringLiteral("10.0.0.5");
  r->hwMapHostPort = QStringLiteral("5000");
  r->setHWMapInternalName(QStringLiteral("Studio.Mic.1"));
  r->hwMapAoipSysName = QStringLiteral("MOD_USER#3.BUT#1");
  return {mic, r};
}

// One control of every kind, every value and every optional group set
// (the hardware group shows only in server mode).
inline void fillGoldenPanel(PanelModel &p) {
  p.canvas.tag = QStringLiteral("Studio");
  p.caption = QStringLiteral("Studio One");
  p.width = 9600;
  p.height = 7200;
  p.canvas.backColor = 0x404040;
  p.canvas.foreColor = 0xFFFFFF;
  p.panelRecord.picture = QStringLiteral("back.png");
  p.panelRecord.pictureSourcePath = QStringLiteral("C:\\Pictures\\back.png");
  p.panelRecord.onLoad = QStringLiteral("LOAD STUDIO");
  p.defaultPictureFolder = QStringLiteral("C:\\Panels\\Graphics\\");

  auto [button, b] = addControl<DesignButton>(p, QStringLiteral("Button1"), 1200, 600);
  button->width = 1215;
  button->height = 495;
  button->caption = QStringLiteral("Mic\r\nLive & <on>");
  b->backColorOn = QStringLiteral("&H00FFFF");
  b->backColorOff = QStringLiteral("&HE0E0E0");
  b->flash = true;
  b->state = QStringLiteral("Off");
  b->click = QStringLiteral("ROUTE 1 2");
  b->mouseDown = QStringLiteral("GPO 1 ON");
  b->mouseUp = QStringLiteral("GPO 1 OFF");
  b->pictureUpOff = QStringLiteral("upoff.png");
  b->pictureUpOffSourcePath = QStringLiteral("C:\\Art\\upoff.png");
  b->pictureUpOn = QStringLiteral("upon.png");
  b->pictureUpOnSourcePath = QStringLiteral("C:\\Art\\upon.png");
  b->pictureDownOff = QStringLiteral("downoff.png");
  b->pictureDownOffSourcePath = QStringLiteral("C:\\Art\\downoff.png");
  b->pictureDownOn = QStringLiteral("downon.png");
  b->pictureDownOnSourcePath = QStringLiteral("C:\\Art\\downon.png");
  b->enabled = true;
  b->mapRouter = QStringLiteral("1");
  b->mapSource = QStringLiteral("12");
  b->mapDestination = QStringLiteral("7");
  b->hwMapType = QStringLiteral("Button");
  b->hwMapHostIP = QStringLiteral("10.0.0.5");
  b->hwMapHostPort = QStringLiteral("5000");
  b->setHWMapInternalName(QStringLiteral("Studio.Button1"));
  b->hwMapAoipSysName = QStringLiteral("MOD_USER#3.BUT#12");

  auto [label, l] = addControl<DesignLabel>(p, QStringLiteral("Label1"), 2400, 600);
  label->width = 1215;
  label->height = 255;
  label->text = QString::fromUtf8("On Air \u2013 \u00dcber \u20ac");
  label->font = FontSpec{QStringLiteral("Tahoma"), 10, false, true, true};
  label->foreColor = 0x0000FF;
  l->backColorOn = QStringLiteral("&H0000FF");
  l->backColorOff = QStringLiteral("&HFFFFFF");
  l->state = QStringLiteral("On");
  l->enabled = true;
  l->hwMapType = QStringLiteral("GPIOButton");
  l->hwMapHostIP = QStringLiteral("10.0.0.6");
  l->hwMapHostPort = QStringLiteral("5001");
  l->setHWMapInternalName(QStringLiteral("Studio.Label1"));
  l->hwMapAoipSysName = QStringLiteral("Port3_Circuit12");

  auto [web, w] = addControl<DesignWebBrowser>(p, QStringLiteral("WebBrowser1"), 0, 1800);
  web->width = 3000;
  web->height = 2000;
  web->locationURL = QStringLiteral("http://studio.local/status");
  w->webURL = QStringLiteral("http://studio.local/status");

  auto [meter, m] = addControl<DesignMeter>(p, QStringLiteral("Meter1"), 3600, 1800);
  meter->width = 400;
  meter->height = 1500;
  m->meterRouterNumber = 2;
  m->meterIONumber = 17;
  m->meterIsSource = true;
  m->meterScale = 2;
  m->meterStyle = 1;
  m->levelLineColor = QStringLiteral("&H00FF00");
  m->decayRate = 12;
  m->centerPad = 3;

  auto [fader, f] = addControl<DesignMeterFader>(p, QStringLiteral("MeterFader1"), 4200, 1800);
  fader->width = 1335;
  fader->height = 4935;
  fader->meterName = QStringLiteral("Fader\r\nOne");
  f->meterRouterNumber = 1;
  f->meterIONumber = 4;
  f->meterScale = 1;
  f->meterStyle = 0;
  f->levelLineColor = QStringLiteral("&H0000FF");
  f->decayRate = 5;
  f->faderNominal = -10.5f;
  f->hideGainValue = true;

  auto [clock, c] = addControl<DesignClock>(p, QStringLiteral("Clock1"), 6000, 600);
  (void)c;
  clock->width = 1095;
  clock->height = 1095;
  clock->digital = true;
  clock->offSet = -2;
}
