#include "chrome/TfrmCustomizeToolbar.h"

#include "chrome/TLanguage.h"
#include "chrome/TQWToolBar.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

const QString TfrmCustomizeToolbar::Section = QStringLiteral("CUSTOMIZE_TOOLBAR");

namespace
{
template <typename Button>
Button* makeButton(QWidget* parent, const char* name, const char* placeholder)
{
    auto* button = new Button(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(QLatin1String(placeholder));
    return button;
}
} // namespace

TfrmCustomizeToolbar::TfrmCustomizeToolbar(TQWToolBar* toolbar, const TLanguage* language,
                                           QWidget* parent)
    : QDialog(parent), m_toolbar(toolbar),
      m_model(ToolbarCustomizeModel::WithEveryButton(toolbar ? toolbar->Entries()
                                                             : QList<ToolbarEntry>()))
{
    setObjectName(QStringLiteral("frmCustomizeToolbar"));
    setModal(true);
    setWindowTitle(QStringLiteral("__Caption"));
    CreateControls();
    if (language)
    {
        language->TranslateComponent(this, Section);
        m_separatorText = language->GetLangText(Section, QStringLiteral("Separator"));
    }
    else
        m_separatorText = QStringLiteral("__Separator");
    ShowModel();
}

void TfrmCustomizeToolbar::CreateControls()
{
    lblCurrent = new QLabel(QStringLiteral("__CurrentBtns"), this);
    lblAvailable = new QLabel(QStringLiteral("__AvailableBtns"), this);
    lvCurrent = new QListWidget(this);
    lvCurrent->setObjectName(QStringLiteral("lvCurrent"));
    lvAvailable = new QListWidget(this);
    lvAvailable->setObjectName(QStringLiteral("lvAvailable"));
    lblCurrent->setBuddy(lvCurrent);
    lblAvailable->setBuddy(lvAvailable);
    for (QListWidget* list : {lvAvailable, lvCurrent})
    {
        list->setIconSize({24, 24});
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setMinimumSize(200, 260);
        connect(list, &QListWidget::currentRowChanged, this,
                &TfrmCustomizeToolbar::SelectionChanged);
    }
    cmdAdd = makeButton<QPushButton>(this, "cmdAdd", "__Add");
    cmdRemove = makeButton<QPushButton>(this, "cmdRemove", "__Remove");
    spdUp = makeButton<QToolButton>(this, "spdUp", "~~Up");
    spdDown = makeButton<QToolButton>(this, "spdDown", "~~Down");
    cmdClose = makeButton<QPushButton>(this, "cmdClose", "~~OK");
    cmdClose->setDefault(true);
    cmdReset = makeButton<QPushButton>(this, "cmdReset", "~~Reset");
    cmdCancel = makeButton<QPushButton>(this, "cmdCancel", "~~Cancel");

    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(cmdAdd);
    middle->addWidget(cmdRemove);
    middle->addStretch(1);
    auto* side = new QVBoxLayout;
    for (QWidget* widget : {static_cast<QWidget*>(cmdClose), static_cast<QWidget*>(cmdReset),
                            static_cast<QWidget*>(cmdCancel)})
        side->addWidget(widget);
    side->addStretch(1);
    side->addWidget(spdUp);
    side->addWidget(spdDown);
    auto* grid = new QGridLayout(this);
    grid->addWidget(lblAvailable, 0, 0);
    grid->addWidget(lblCurrent, 0, 2);
    grid->addWidget(lvAvailable, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(lvCurrent, 1, 2);
    grid->addLayout(side, 1, 3);

    connect(cmdAdd, &QPushButton::clicked, this, &TfrmCustomizeToolbar::cmdAddClick);
    connect(cmdRemove, &QPushButton::clicked, this, &TfrmCustomizeToolbar::cmdRemoveClick);
    connect(spdUp, &QToolButton::clicked, this, &TfrmCustomizeToolbar::spdUpClick);
    connect(spdDown, &QToolButton::clicked, this, &TfrmCustomizeToolbar::spdDownClick);
    connect(cmdClose, &QPushButton::clicked, this, &TfrmCustomizeToolbar::cmdCloseClick);
    connect(cmdReset, &QPushButton::clicked, this, &TfrmCustomizeToolbar::cmdResetClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lvAvailable, &QListWidget::itemDoubleClicked, this, &TfrmCustomizeToolbar::cmdAddClick);
    connect(lvCurrent, &QListWidget::itemDoubleClicked, this,
            &TfrmCustomizeToolbar::cmdRemoveClick);
}

TfrmCustomizeToolbar::Outcome
TfrmCustomizeToolbar::Customize(TQWToolBar* toolbar, const TLanguage* language, QWidget* parent)
{
    if (!toolbar)
        return Outcome::Cancelled;
    TfrmCustomizeToolbar dialog(toolbar, language, parent);
    if (parent)
        dialog.setFont(parent->font());
    dialog.exec();
    return dialog.Result();
}

TfrmCustomizeToolbar::Outcome TfrmCustomizeToolbar::Result() const
{
    switch (result())
    {
    case QDialog::Accepted:
        return Outcome::Applied;
    case ResetCode:
        return Outcome::Reset;
    default:
        return Outcome::Cancelled;
    }
}

void TfrmCustomizeToolbar::FillList(QListWidget* list, const QList<int>& numbers, int selected)
{
    list->clear();
    for (int number : numbers)
    {
        auto* item = new QListWidgetItem(list);
        item->setData(Qt::UserRole, number);
        if (number < 0)
        {
            // Room for a picture keeps the captions in one column.
            QPixmap blank(list->iconSize());
            blank.fill(Qt::transparent);
            item->setIcon(QIcon(blank));
            item->setText(m_separatorText);
        }
        else if (m_toolbar)
        {
            item->setText(m_toolbar->ButtonCaption(number));
            item->setIcon(m_toolbar->ButtonImage(number));
        }
    }
    list->setCurrentRow(selected);
    if (QListWidgetItem* item = list->currentItem())
        list->scrollToItem(item);
}

void TfrmCustomizeToolbar::ShowModel()
{
    m_filling = true;
    FillList(lvCurrent, m_model.Current(), m_model.CurrentSelection());
    FillList(lvAvailable, m_model.Available(), m_model.AvailableSelection());
    m_filling = false;
    ShowCommands();
}

void TfrmCustomizeToolbar::ShowCommands()
{
    cmdAdd->setEnabled(m_model.CanAdd());
    cmdRemove->setEnabled(m_model.CanRemove());
    spdUp->setEnabled(m_model.CanMoveUp());
    spdDown->setEnabled(m_model.CanMoveDown());
}

void TfrmCustomizeToolbar::SelectionChanged()
{
    if (m_filling)
        return;
    m_model.SelectCurrent(lvCurrent->currentRow());
    m_model.SelectAvailable(lvAvailable->currentRow());
    ShowCommands();
}

void TfrmCustomizeToolbar::cmdAddClick()
{
    if (m_model.Add())
        ShowModel();
}

void TfrmCustomizeToolbar::cmdRemoveClick()
{
    if (m_model.Remove())
        ShowModel();
}

void TfrmCustomizeToolbar::spdUpClick()
{
    if (m_model.MoveUp())
        ShowModel();
}

void TfrmCustomizeToolbar::spdDownClick()
{
    if (m_model.MoveDown())
        ShowModel();
}

void TfrmCustomizeToolbar::cmdCloseClick()
{
    if (m_toolbar)
        m_toolbar->SetEntries(m_model.Result());
    accept();
}

void TfrmCustomizeToolbar::cmdResetClick()
{
    if (m_toolbar)
        m_toolbar->BuildDefaultToolbar();
    done(ResetCode);
}
