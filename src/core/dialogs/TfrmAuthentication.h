#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for a user name and password for a site or a proxy. Everything the
// server sent (host, realm) is shown as plain text: a realm is the server's
// own words and may hold markup meant to mislead.
class TfrmAuthentication : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAuthentication(QWidget* parent = nullptr);

    // host: the site's or the proxy's host; an empty realm hides its line.
    void setRequest(const QString& host, const QString& realm, bool proxy);
    // The site refused the last user name and password: a line says so.
    void setRefused(bool refused);
    void setUser(const QString& user);
    QString user() const;
    QString password() const;

private:
    QLabel* lblPrompt;
    QLabel* lblRealm;
    QLabel* lblRefused;
    QLabel* lblUser;
    QLabel* lblPassword;
    QLineEdit* edtUser;
    QLineEdit* edtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};
