#pragma once

#include <QHash>
#include <QObject>

class QWidget;
class PanelModel;
class DesignWebBrowser;

// Shows a live embedded browser over every web browser control of a canvas
// when the program is built with QtWebEngine and runs on a real display.
// The browsers only display their page: mouse and keys stay with the canvas,
// so the control is selected, moved and resized like any other. Elsewhere the
// painter's placeholder (a browser frame with the address) is what is seen.
class WebBrowserHost : public QObject {
  Q_OBJECT
 public:
  WebBrowserHost(QWidget &canvas, PanelModel &model);
  ~WebBrowserHost() override;

  // True when live browsers can be shown in this process.
  static bool available();
  // Program start, before the application object exists: what the engine needs.
  static void prepareProcess();

  // Follows the model: creates, places, navigates and removes the browsers.
  void sync();

 private:
  QWidget &m_canvas;
  PanelModel &m_model;
  QHash<const DesignWebBrowser *, QWidget *> m_views;
};
