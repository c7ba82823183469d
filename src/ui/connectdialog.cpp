#include "ui/connectdialog.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "server/connectdialoglogic.h"

ConnectDialog::ConnectDialog(ConnectDialogLogic &logic, QWidget *parent)
    : ServerDialogView(QStringLiteral("frmConnect"), ConnectDialogLogic::caption,
                       {[&logic] { logic.connectToServer(); }, [&logic] { logic.cancel(); },
                        [&logic] { logic.showHelp(); }},
                       parent),
      m_logic(logic) {
  auto *form = new QFormLayout;
  m_address = addLine(form, QStringLiteral("txtIPAddress"), tr("IP Address"),
                      [this](const QString &t) { m_logic.addressEdit = t; });
  m_port = addLine(form, QStringLiteral("txtPort"), tr("Port:"),
                   [this](const QString &t) { m_logic.portEdit = t; });
  m_user = addLine(form, QStringLiteral("LoginName"), tr("User Name"),
                   [this](const QString &t) { m_logic.loginName = t; });
  m_password = addLine(form, QStringLiteral("LoginPassword"), tr("Password"),
                       [this](const QString &t) { m_logic.loginPassword = t; });
  m_password->setEchoMode(QLineEdit::Password);

  auto *connectButton = new QPushButton(tr("&Connect"), this);
  connectButton->setObjectName(QStringLiteral("butConnect"));
  connectButton->setDefault(true);
  auto *localButton = new QPushButton(tr("Work &Locally"), this);
  localButton->setObjectName(QStringLiteral("butWorkLocally"));
  localButton->setStatusTip(tr("Forget the server and open and save panels as local files"));
  connect(localButton, &QPushButton::clicked, this, [this] { m_logic.workLocally(); });
  auto *cancelButton = new QPushButton(tr("Cancel"), this);
  cancelButton->setObjectName(QStringLiteral("btnCancel"));
  connect(connectButton, &QPushButton::clicked, this, [this] { m_logic.connectToServer(); });
  connect(cancelButton, &QPushButton::clicked, this, [this] { m_logic.cancel(); });

  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(connectButton);
  buttons->addWidget(localButton);
  buttons->addWidget(cancelButton);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  setMinimumWidth(340);

  connect(&logic, &ConnectDialogLogic::fieldsChanged, this, &ConnectDialog::loadFields);
  connect(&logic, &ConnectDialogLogic::visibleChanged, this,
          [this](bool visible) { follow(visible, m_address); });
  connect(&logic, &ConnectDialogLogic::activateRequested, this, [this] {
    if (!isVisible()) return;
    raise();
    activateWindow();
  });
  // Never over its own message box, and never taking the keyboard.
  connect(&logic, &ConnectDialogLogic::keepInFrontRequested, this, [this] {
    if (isVisible() && !QApplication::activeModalWidget()) raise();
  });
  loadFields();
  if (logic.visible()) follow(true, m_address);
}

void ConnectDialog::loadFields() {
  m_address->setText(m_logic.addressEdit);
  m_port->setText(m_logic.portEdit);
  m_user->setText(m_logic.loginName);
  m_password->setText(m_logic.loginPassword);
}
