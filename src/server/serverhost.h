#pragma once

#include <QString>

class Ui;

// What the server link asks of the main window's logic. The application
// implements it; the server library never reaches above itself otherwise.
class ServerHost {
 public:
  virtual ~ServerHost() = default;

  // Message boxes and the help document.
  virtual Ui &ui() = 0;
  // True when an open panel window carries this path (letter case ignored).
  virtual bool isPanelPathOpen(const QString &path) const = 0;
  // Opens a panel document the server delivered in a new panel window, read
  // as a local file is: `path` becomes the window's and the record's path,
  // `tagName` the panel's name until the document names it.
  virtual void openDeliveredPanel(const QString &document, const QString &path,
                                  const QString &tagName) = 0;
};
