#include "ui/connectdialog.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "server/frmconnect.h"

ConnectDialog::ConnectDialog(frmConnect &logic, QWidget *parent)
    : ServerDialogView(QStringLiteral("frmConnect"), frmConnect::Caption,
                       {[&logic] { logic.butConnect_Click(); },
                        [&logic] { logic.btnCancel_Click(); }, [&logic] { logic.ShowHelp(); }},
                       parent),
      m_logic(logic) {
  auto *form = new QFormLayout;
  m_address = AddLine(form, QStringLiteral("txtIPAddress"), tr("IP Address"),
                      [this](const QString &t) { m_logic.txtIPAddress = t; });
  m_port = AddLine(form, QStringLiteral("txtPort"), tr("Port:"),
                   [this](const QString &t) { m_logic.txtPort = t; });
  m_user = AddLine(form, QStringLiteral("LoginName"), tr("User Name"),
                   [this](const QString &t) { m_logic.LoginName = t; });
  m_password = AddLine(form, QStringLiteral("LoginPassword"), tr("Password"),
                       [this](const QString &t) { m_logic.LoginPassword = t; });
  m_password->setEchoMode(QLineEdit::Password);

  auto *connectButton = new QPushButton(tr("&Connect"), this);
  connectButton->setObjectName(QStringLiteral("butConnect"));
  connectButton->setDefault(true);
  auto *localButton = new QPushButton(tr("Work &Locally"), this);
  localButton->setObjectName(QStringLiteral("butWorkLocally"));
  localButton->setStatusTip(tr("Forget the server and open and save panels as local files"));
  connect(localButton, &QPushButton::clicked, this, [this] { m_logic.butWorkLocally_Click(); });
  auto *cancelButton = new QPushButton(tr("Cancel"), this);
  cancelButton->setObjectName(QStringLiteral("btnCancel"));
  connect(connectButton, &QPushButton::clicked, this, [this] { m_logic.butConnect_Click(); });
  connect(cancelButton, &QPushButton::clicked, this, [this] { m_logic.btnCancel_Click(); });

  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(connectButton);
  buttons->addWidget(localButton);
  buttons->addWidget(cancelButton);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  setMinimumWidth(340);

  connect(&logic, &frmConnect::fieldsChanged, this, &ConnectDialog::loadFields);
  connect(&logic, &frmConnect::visibleChanged, this,
          [this](bool visible) { follow(visible, m_address); });
  connect(&logic, &frmConnect::activateRequested, this, [this] {
    if (!isVisible()) return;
    raise();
    activateWindow();
  });
  // Never over its own message box, and never taking the keyboard.
  connect(&logic, &frmConnect::keepInFrontRequested, this, [this] {
    if (isVisible() && !QApplication::activeModalWidget()) raise();
  });
  loadFields();
  if (logic.Visible()) follow(true, m_address);
}

void ConnectDialog::loadFields() {
  m_address->setText(m_logic.txtIPAddress);
  m_port->setText(m_logic.txtPort);
  m_user->setText(m_logic.LoginName);
  m_password->setText(m_logic.LoginPassword);
}
