#pragma once

#include "core/engine/IBrowserControl.h"

#include <QDialog>

#include <functional>

class QFormLayout;
class QLabel;
class QLocale;
class QPushButton;
class TLanguage;

// The page-properties dialog: title, address, protocol, type, size and date
// of the page in a browser control, and its security zone where the caller
// knows it. Every value can be selected and copied.
class TfrmProperties : public QDialog
{
    Q_OBJECT
public:
    // language may be null: the placeholders then stay as written. It must
    // outlive the dialog.
    explicit TfrmProperties(const TLanguage* language, QWidget* parent = nullptr);

    void SetProperties(const PageProperties& properties);
    // Shows the zone row, which is hidden until then.
    void SetZoneText(const QString& zone);

    // Asks control for its page's properties and, when they arrive, shows
    // the dialog with them, modal and freed when it closes. prepare runs on
    // the dialog before it shows. Nothing is shown when parent was given
    // and is gone by then.
    static void ShowForControl(IBrowserControl* control, const TLanguage* language, QWidget* parent,
                               const std::function<void(TfrmProperties&)>& prepare = {});

    // The protocol row: a description of the address's scheme.
    static QString ProtocolText(const QString& url, const TLanguage& language);
    // The type row: the type's description and the type, or the type alone
    // when it has no description.
    static QString TypeText(const QString& mimeType, const TLanguage& language);
    // The size row: the byte count with the locale's digit grouping.
    static QString SizeText(qint64 size, const TLanguage& language, const QLocale& locale);
    // The modified row, in local time.
    static QString ModifiedText(const QDateTime& modified, const TLanguage& language,
                                const QLocale& locale);

    QLabel* lblTitleValue;
    QLabel* lblAddressValue;
    QLabel* lblProtocolValue;
    QLabel* lblTypeValue;
    QLabel* lblSizeValue;
    QLabel* lblModifiedValue;
    QLabel* lblZoneValue;
    QPushButton* cmdOK;

private:
    QLabel* AddRow(const QString& captionName, const QString& caption, const QString& valueName);
    const TLanguage& Language() const;

    const TLanguage* m_language;
    QFormLayout* m_rows;
};
