#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>

#include "components/meterscale.h"
#include "model/designcontrol.h"

class PanelEditor;
class ControlRecord;

// One command a click in preview would have sent.
struct PreviewCommand {
  QString control;  // the control's name
  QString event;    // "MouseDown", "MouseUp" or "Click"
  QString command;  // the command text as stored in the control's record
  // One line for the log: "Button1 Click: <command>", line breaks shown as arrows.
  QString text() const;
};

// A panel window seen as operators see it: buttons toggle between their on
// and off states when clicked and show the graphics of that state, flashing
// runs, meters show a m_moving test level, and the commands a click would send
// are logged instead of sent. Everything here is view state: the panel's
// model, its undo stack and its changed mark are never touched, so dropping
// the session leaves the panel exactly as it was.
class PreviewSession : public QObject {
  Q_OBJECT
 public:
  explicit PreviewSession(PanelEditor &panel, QObject *parent = nullptr);
  ~PreviewSession() override;

  // --- operator input. A press on a control, then its release, over the
  // pressed control or elsewhere. Only enabled buttons react: the press logs
  // mouseDown; the release logs mouseUp and, over the button, Click, and
  // toggles the button's state. Empty command texts send nothing.
  void mouseDown(const DesignControl *control);
  void mouseUp(bool overPressedControl);

  // The caption colour of a button that does not react to the operator.
  static constexpr qint32 kDisabledTextColor = 0x808080;

  // The state a button shows: toggled by clicks, else its record's state.
  bool isOn(const DesignControl *control) const;
  // The button held down by the mouse, or null.
  const DesignControl *pressed() const { return m_pressed; }

  // --- meters: every tick moves the test level of each meter and meter-fader.
  static constexpr int kMeterInterval = 50;  // ms
  void meterTick();
  QTimer meterTimer;
  // The test level (tenths of dB) a meter shows on a channel (0 left, 1 right).
  qint32 meterLevel(const DesignControl *meter, int channel) const;

  // Visits the visible controls of a panel back to front as they are shown
  // now: `shown` is the model's own control or a copy carrying the view
  // state, `control` always the model's own. In
  // design (no preview) only the flash colour differs; in preview also the
  // pictures and colour of a toggled state, a held button's pressed picture,
  // a disabled button's grey caption and the meters' test levels.
  using ShownVisitor =
      std::function<void(const DesignControl &shown, const DesignControl &control)>;
  static void forEachShown(const PanelEditor &panel, const PreviewSession *preview,
                           const ShownVisitor &visit);

  // --- the log of commands, oldest first, at most kLogLimit entries.
  static constexpr int kLogLimit = 1000;
  const std::deque<PreviewCommand> &log() const { return m_log; }
  void clearLog();

 signals:
  // What a control shows changed: repaint.
  void changed();
  // Only the meters' levels moved: repainting the meters is enough.
  void metersMoved();
  void commandLogged(const PreviewCommand &command);
  void logCleared();

 private:
  struct MeterState {
    explicit MeterState(int seed) : seed(seed) {}
    MeterBallistics channels[2]{MeterBallistics(0), MeterBallistics(0)};
    int seed;
  };
  const ControlRecord *enabledButtonRecord(const DesignControl *control) const;
  void logCommand(const ControlRecord &record, const QString &event, const QString &command);
  void forgetRemovedControls();
  std::unique_ptr<DesignControl> shown(const DesignControl &control,
                                       const ControlRecord *record) const;

  PanelEditor &m_panel;
  std::unordered_map<const DesignControl *, bool> m_on;  // buttons clicked in preview
  // Pictures and colour of the toggled state of those buttons.
  mutable std::unordered_map<const DesignControl *, std::unique_ptr<DesignButton>> m_toggledLooks;
  const DesignControl *m_pressed = nullptr;
  std::unordered_map<const DesignControl *, MeterState> m_meters;
  qint64 m_meterTicks = 0;
  std::deque<PreviewCommand> m_log;
};
