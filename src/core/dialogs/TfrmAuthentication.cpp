#include "core/dialogs/TfrmAuthentication.h"

#include "core/dialogs/TPageDialogs.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStyle>

namespace
{
QString GetGlobalText(const QWidget* parent, const QString& key)
{
    return TPageDialogs::textFor(parent, QStringLiteral("GLOBAL"), key);
}
} // namespace

TfrmAuthentication::TfrmAuthentication(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAuthentication"));
    setModal(true);

    auto* imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    imgIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblPrompt = new QLabel(this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setTextFormat(Qt::PlainText);
    lblPrompt->setWordWrap(true);
    lblRealm = new QLabel(this);
    lblRealm->setObjectName(QStringLiteral("lblRealm"));
    lblRealm->setTextFormat(Qt::PlainText);
    lblRealm->setWordWrap(true);
    lblRefused = new QLabel(GetGlobalText(parent, QStringLiteral("AuthRefused")), this);
    lblRefused->setObjectName(QStringLiteral("lblRefused"));
    lblRefused->setTextFormat(Qt::PlainText);
    lblRefused->setWordWrap(true);
    QPalette warning = lblRefused->palette();
    warning.setColor(QPalette::WindowText, QColor(0xb0, 0, 0));
    lblRefused->setPalette(warning);
    lblRefused->hide();

    lblUser = new QLabel(GetGlobalText(parent, QStringLiteral("AuthUser")), this);
    lblUser->setObjectName(QStringLiteral("lblUser"));
    edtUser = new QLineEdit(this);
    edtUser->setObjectName(QStringLiteral("edtUser"));
    lblUser->setBuddy(edtUser);
    lblPassword = new QLabel(GetGlobalText(parent, QStringLiteral("AuthPassword")), this);
    lblPassword->setObjectName(QStringLiteral("lblPassword"));
    edtPassword = new QLineEdit(this);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    edtPassword->setEchoMode(QLineEdit::Password);
    lblPassword->setBuddy(edtPassword);

    cmdOK = new QPushButton(GetGlobalText(parent, QStringLiteral("OK")), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(GetGlobalText(parent, QStringLiteral("Cancel")), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* grid = new QGridLayout(this);
    grid->addWidget(imgIcon, 0, 0, 3, 1);
    grid->addWidget(lblPrompt, 0, 1, 1, 2);
    grid->addWidget(lblRealm, 1, 1, 1, 2);
    grid->addWidget(lblRefused, 2, 1, 1, 2);
    grid->addWidget(lblUser, 3, 1);
    grid->addWidget(edtUser, 3, 2);
    grid->addWidget(lblPassword, 4, 1);
    grid->addWidget(edtPassword, 4, 2);
    grid->addLayout(buttons, 5, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    setMinimumWidth(380);
}

void TfrmAuthentication::setRequest(const QString& host, const QString& realm, bool proxy)
{
    setWindowTitle(proxy ? GetGlobalText(parentWidget(), QStringLiteral("ProxyAuthCaption"))
                         : GetGlobalText(parentWidget(), QStringLiteral("AuthCaption")));
    const QString prompt = proxy ? GetGlobalText(parentWidget(), QStringLiteral("ProxyAuthPrompt"))
                                 : GetGlobalText(parentWidget(), QStringLiteral("AuthPrompt"));
    lblPrompt->setText(prompt.arg(host));
    lblRealm->setText(GetGlobalText(parentWidget(), QStringLiteral("AuthRealm")).arg(realm));
    lblRealm->setVisible(!realm.isEmpty());
}

void TfrmAuthentication::setRefused(bool refused)
{
    lblRefused->setVisible(refused);
}

void TfrmAuthentication::setUser(const QString& user)
{
    edtUser->setText(user);
    // With a known user name only the password is left to type.
    if (!user.isEmpty())
        edtPassword->setFocus();
}

QString TfrmAuthentication::user() const
{
    return edtUser->text();
}

QString TfrmAuthentication::password() const
{
    return edtPassword->text();
}
