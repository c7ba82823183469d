#include "ui/logindialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/plaintext.h"

// Enter in the user name goes on to the password; in the password (or on
// the button) it logs in.
LoginDialog::LoginDialog(LoginDialogLogic &logic, QWidget *parent)
    : ServerDialogView(QStringLiteral("frmLogin"), LoginDialogLogic::caption,
                       {[this] {
                          m_logic.enterPressed(m_user->hasFocus()
                                                   ? LoginDialogLogic::Field::LoginName
                                                   : LoginDialogLogic::Field::LoginPassword);
                        },
                        [&logic] { logic.close(); }, [&logic] { logic.showHelp(); }},
                       parent),
      m_logic(logic) {
  auto *prompt = plainLabel(tr("Please Enter your user name and password."), this);
  prompt->setObjectName(QStringLiteral("Label3"));
  auto *form = new QFormLayout;
  m_user = addLine(form, QStringLiteral("LoginName"), tr("User Name"),
                   [this](const QString &t) { m_logic.loginName = t; });
  m_password = addLine(form, QStringLiteral("LoginPassword"), tr("Password"),
                       [this](const QString &t) { m_logic.loginPassword = t; });
  m_password->setEchoMode(QLineEdit::Password);
  auto *loginButton = new QPushButton(tr("&Login"), this);
  loginButton->setObjectName(QStringLiteral("LoginButton"));
  loginButton->setDefault(true);
  connect(loginButton, &QPushButton::clicked, this, [this] { m_logic.logIn(); });

  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(loginButton);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addLayout(form);
  layout->addLayout(buttons);
  setMinimumWidth(320);

  connect(&logic, &LoginDialogLogic::fieldsChanged, this, &LoginDialog::loadFields);
  connect(&logic, &LoginDialogLogic::visibleChanged, this,
          [this](bool visible) { follow(visible); });
  connect(&logic, &LoginDialogLogic::focusRequested, this, &LoginDialog::focusField);
  loadFields();
  if (logic.visible()) follow(true);
}

void LoginDialog::loadFields() {
  m_user->setText(m_logic.loginName);
  m_password->setText(m_logic.loginPassword);
}

void LoginDialog::focusField(LoginDialogLogic::Field field) {
  if (field == LoginDialogLogic::Field::LoginPassword) m_password->setFocus();
  if (field == LoginDialogLogic::Field::LoginName) m_user->setFocus();
}
