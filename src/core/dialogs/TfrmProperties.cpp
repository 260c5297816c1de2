#include "core/dialogs/TfrmProperties.h"

#include "chrome/TLanguage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace
{
// A dialog without a language shows the lookups' fallbacks.
const TLanguage& noLanguage()
{
    static const TLanguage empty;
    return empty;
}

QString unknownText(const TLanguage& language)
{
    return language.GetLangText(QStringLiteral("Properties"), QStringLiteral("Unknown"));
}
} // namespace

TfrmProperties::TfrmProperties(const TLanguage* language, QWidget* parent)
    : QDialog(parent), m_language(language)
{
    setObjectName(QStringLiteral("frmProperties"));
    setModal(true);
    setWindowTitle(QStringLiteral("__Caption"));

    m_rows = new QFormLayout;
    m_rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    lblTitleValue = AddRow(QStringLiteral("lblTitle"), QStringLiteral("__Title"),
                           QStringLiteral("lblTitleValue"));
    lblAddressValue = AddRow(QStringLiteral("lblAddress"), QStringLiteral("__Address"),
                             QStringLiteral("lblAddressValue"));
    lblProtocolValue = AddRow(QStringLiteral("lblProtocol"), QStringLiteral("__Protocol"),
                              QStringLiteral("lblProtocolValue"));
    lblTypeValue =
        AddRow(QStringLiteral("lblType"), QStringLiteral("__Type"), QStringLiteral("lblTypeValue"));
    lblSizeValue =
        AddRow(QStringLiteral("lblSize"), QStringLiteral("__Size"), QStringLiteral("lblSizeValue"));
    lblModifiedValue = AddRow(QStringLiteral("lblModified"), QStringLiteral("__Modified"),
                              QStringLiteral("lblModifiedValue"));
    lblZoneValue =
        AddRow(QStringLiteral("lblZone"), QStringLiteral("__Zone"), QStringLiteral("lblZoneValue"));
    m_rows->setRowVisible(lblZoneValue, false);

    cmdOK = new QPushButton(QStringLiteral("~~OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_rows);
    layout->addStretch(1);
    layout->addLayout(buttons);

    if (language)
        language->TranslateComponent(this, QStringLiteral("Properties"));
    // Long titles and addresses wrap instead of widening the dialog, and
    // the dialog grows to the height of the wrapped lines.
    setMinimumWidth(420);
    for (QLabel* value : {lblTitleValue, lblAddressValue})
        value->setMaximumWidth(480);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    cmdOK->setFocus();
}

QLabel* TfrmProperties::AddRow(const QString& captionName, const QString& caption,
                               const QString& valueName)
{
    auto* captionLabel = new QLabel(caption, this);
    captionLabel->setObjectName(captionName);
    auto* value = new QLabel(this);
    value->setObjectName(valueName);
    // Titles and addresses come from web pages: never markup.
    value->setTextFormat(Qt::PlainText);
    value->setWordWrap(true);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    captionLabel->setBuddy(value);
    m_rows->addRow(captionLabel, value);
    return value;
}

const TLanguage& TfrmProperties::Language() const
{
    return m_language ? *m_language : noLanguage();
}

void TfrmProperties::SetProperties(const PageProperties& properties)
{
    const QLocale locale;
    const TLanguage& language = Language();
    lblTitleValue->setText(properties.title);
    lblAddressValue->setText(properties.url);
    lblProtocolValue->setText(ProtocolText(properties.url, language));
    lblTypeValue->setText(TypeText(properties.mimeType, language));
    lblSizeValue->setText(SizeText(properties.size, language, locale));
    lblModifiedValue->setText(ModifiedText(properties.modified, language, locale));
}

void TfrmProperties::SetZoneText(const QString& zone)
{
    lblZoneValue->setText(zone);
    m_rows->setRowVisible(lblZoneValue, true);
}

void TfrmProperties::ShowForControl(IBrowserControl* control, const TLanguage* language,
                                    QWidget* parent,
                                    const std::function<void(TfrmProperties&)>& prepare)
{
    if (!control)
        return;
    const bool hadParent = parent != nullptr;
    const QPointer<QWidget> owner(parent);
    control->QueryPageProperties(
        [hadParent, owner, language, prepare](const PageProperties& properties)
        {
            if (hadParent && !owner)
                return;
            auto* dialog = new TfrmProperties(language, owner);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->SetProperties(properties);
            if (prepare)
                prepare(*dialog);
            // The answer may come inside the engine's callback: no nested
            // event loop here.
            dialog->show();
        });
}

QString TfrmProperties::ProtocolText(const QString& url, const TLanguage& language)
{
    const QString scheme = QUrl(url).scheme().toLower();
    if (scheme.isEmpty())
        return unknownText(language);
    if (scheme == QLatin1String("http"))
        return language.GetLangText(QStringLiteral("Properties"), QStringLiteral("ProtocolHttp"));
    if (scheme == QLatin1String("https"))
        return language.GetLangText(QStringLiteral("Properties"), QStringLiteral("ProtocolHttps"));
    if (scheme == QLatin1String("file"))
        return language.GetLangText(QStringLiteral("Properties"), QStringLiteral("ProtocolFile"));
    if (scheme == QLatin1String("ftp"))
        return language.GetLangText(QStringLiteral("Properties"), QStringLiteral("ProtocolFtp"));
    if (scheme == QLatin1String("quillwave"))
        return language.GetLangText(QStringLiteral("Properties"),
                                    QStringLiteral("ProtocolQuillwave"));
    if (scheme == QLatin1String("data"))
        return language.GetLangText(QStringLiteral("Properties"), QStringLiteral("ProtocolData"));
    return TLanguage::FormatText(
        language.GetLangText(QStringLiteral("Properties"), QStringLiteral("ProtocolOther")),
        scheme);
}

QString TfrmProperties::TypeText(const QString& mimeType, const TLanguage& language)
{
    // Parameters ("; charset=...") are not part of the type's name.
    const QString name = mimeType.section(QLatin1Char(';'), 0, 0).trimmed().toLower();
    if (name.isEmpty())
        return unknownText(language);
    const QMimeType type = QMimeDatabase().mimeTypeForName(name);
    const QString description = type.isValid() ? type.comment() : QString();
    if (description.isEmpty() || description == name)
        return name;
    return QStringLiteral("%1 (%2)").arg(description, name);
}

QString TfrmProperties::SizeText(qint64 size, const TLanguage& language, const QLocale& locale)
{
    if (size < 0)
        return unknownText(language);
    const QString format =
        size == 1 ? language.GetLangText(QStringLiteral("Properties"), QStringLiteral("SizeByte"))
                  : language.GetLangText(QStringLiteral("Properties"), QStringLiteral("SizeBytes"));
    return TLanguage::FormatText(format, locale.toString(size));
}

QString TfrmProperties::ModifiedText(const QDateTime& modified, const TLanguage& language,
                                     const QLocale& locale)
{
    if (!modified.isValid())
        return unknownText(language);
    const QDateTime local = modified.toLocalTime();
    return locale.toString(local.date(), QLocale::LongFormat) + QStringLiteral(", ") +
           locale.toString(local.time(), QLocale::ShortFormat);
}
