#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

struct ConfirmResult
{
    bool ok = false;      // OK (the first button) was pressed
    bool checked = false; // final state of the check box
};

// The one dialog behind every yes/no question and notice. It is never
// translated: callers pass texts they looked up themselves, and an empty
// text hides its button or box.
class TfrmConfirm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmConfirm(QWidget* owner = nullptr);

    void setTexts(const QString& caption, const QString& title, const QString& prompt,
                  const QString& okText, const QString& cancelText, const QString& checkText);
    // Makes the second button the one Enter presses.
    void setCancelDefault();
    void setChecked(bool checked);
    bool isChecked() const;

private:
    QLabel* lblTitle;
    QPlainTextEdit* mmoPrompt2;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QCheckBox* chkConfirm;
};

// Runs the dialog modally, centred on the screen, in the owner's font.
ConfirmResult ShowConfirm(QWidget* owner, const QFont& font, const QString& caption, bool checked,
                          const QString& title, const QString& prompt, const QString& okText,
                          const QString& cancelText, const QString& checkText,
                          bool okDefault = true);
