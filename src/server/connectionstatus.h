#pragma once

#include <QObject>
#include <QString>

// The main window's connection status line (connectedLabel): its text and
// colour (0x00BBGGRR), kept by setConnectedLabel from the connector's state.
class ConnectionStatus : public QObject {
  Q_OBJECT
 public:
  static constexpr qint32 kGreen = 0x0000FF00;
  static constexpr qint32 kYellow = 0x0000FFFF;
  static constexpr qint32 kLightRed = 0x00C0C0FF;

  using QObject::QObject;

  QString text() const { return m_text; }
  qint32 color() const { return m_color; }

  // "Connected" while the state is 7; otherwise "Waiting" while the hunt is
  // paused, "Connecting" while hunting, "Not Connected" before any hunt.
  void setConnectedLabel(qint16 state, bool paused, bool hunting);
  // A connection was asked for.
  void showConnecting();

 signals:
  void changed(const QString &text, qint32 color);

 private:
  void show(const QString &text, qint32 color);

  QString m_text = QStringLiteral("Not Connected");
  qint32 m_color = kLightRed;
  qint16 m_lastState = 0;  // the last connection state shown
};
