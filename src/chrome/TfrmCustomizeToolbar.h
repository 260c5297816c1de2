#pragma once

#include "chrome/ToolbarCustomizeModel.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class TLanguage;
class TQWToolBar;

// The customize-toolbar dialog: the shown buttons on one side, the hidden
// ones (and the separator) on the other. The lists only show a
// ToolbarCustomizeModel, which holds the rules.
class TfrmCustomizeToolbar : public QDialog
{
    Q_OBJECT
public:
    static const QString Section;
    enum class Outcome
    {
        Applied,   // OK: the toolbar took the new layout
        Reset,     // the toolbar was rebuilt to its default
        Cancelled, // nothing changed
    };

    // language may be null: the placeholders then stay as written.
    TfrmCustomizeToolbar(TQWToolBar* toolbar, const TLanguage* language, QWidget* parent = nullptr);

    // Runs the dialog modally on toolbar. The caller saves the layout
    // afterwards whichever way it ended.
    static Outcome Customize(TQWToolBar* toolbar, const TLanguage* language, QWidget* parent);
    Outcome Result() const;

    const ToolbarCustomizeModel& Model() const { return m_model; }

    QLabel* lblCurrent;
    QLabel* lblAvailable;
    QListWidget* lvCurrent;
    QListWidget* lvAvailable;
    QPushButton* cmdAdd;
    QPushButton* cmdRemove;
    QToolButton* spdUp;
    QToolButton* spdDown;
    QPushButton* cmdClose;
    QPushButton* cmdReset;
    QPushButton* cmdCancel;

    void cmdAddClick();
    void cmdRemoveClick();
    void spdUpClick();
    void spdDownClick();
    void cmdCloseClick();
    void cmdResetClick();

private:
    static constexpr int ResetCode = 2;

    void CreateControls();
    // Shows the model: both lists, their selections and what can be done.
    void ShowModel();
    void ShowCommands();
    void FillList(QListWidget* list, const QList<int>& numbers, int selected);
    void SelectionChanged();

    QPointer<TQWToolBar> m_toolbar;
    ToolbarCustomizeModel m_model;
    QString m_separatorText;
    bool m_filling = false;
};
