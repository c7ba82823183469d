// The live web view, in a module of its own: the web engine (and the OpenGL
// driver it brings up) is loaded only when a panel first shows a web
// browser, not at every start of the designer.
#include <QWebEngineView>

extern "C" Q_DECL_EXPORT QWidget *tessaryCreateWebView(QWidget *parent) {
  return new QWebEngineView(parent);
}
