#include "core/window/MainPageCommands.h"

#include "chrome/TFindBar.h"
#include "components/TQWPageControl.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/PageSaveChoice.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/EditCommandTarget.h"
#include "core/window/MainCommands.h"
#include "core/window/MainSearchPane.h"
#include "core/window/TKeyFilter.h"
#include "core/window/TfrmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSplitter>
#include <QStandardPaths>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace
{
const QString Section = QStringLiteral("MAIN");
const QString ViewSourcePrefix = QStringLiteral("view-source:");

// The text box's own command, as its context menu would run it.
void runInTextBox(QWidget* widget, EditCommand command)
{
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        widget = combo->lineEdit();
    // The text boxes share the four commands' names, not a base class.
    const auto run = [command](auto* edit)
    {
        switch (command)
        {
        case EditCut:
            return edit->cut();
        case EditCopy:
            return edit->copy();
        case EditPaste:
            return edit->paste();
        case EditSelectAll:
            return edit->selectAll();
        }
    };
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        run(line);
    else if (auto* edit = qobject_cast<QTextEdit*>(widget))
        run(edit);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        run(plain);
}
} // namespace

MainPageCommands::MainPageCommands(TfrmMain* window)
    : QObject(window), m_window(window), m_findBar(new TFindBar(window)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    placeFindBar();
    m_findBar->SetCountTexts(text(QStringLiteral("FindBarCount")),
                             text(QStringLiteral("FindBarNoMatches")));
    connect(m_findBar, &TFindBar::find, this, &MainPageCommands::find);
    connect(m_window->PageControl(), &TQWPageControl::pageChanged, this,
            &MainPageCommands::activeTabChanged);
}

MainPageCommands::~MainPageCommands() = default;

void MainPageCommands::AddCommands(MainCommands& commands, TfrmMain* window)
{
    const auto on =
        [&commands, window](MainCommand command, std::function<void(MainPageCommands*)> run)
    {
        commands.add(command,
                     [window, run]
                     {
                         if (MainPageCommands* part = window->PageCommands())
                             run(part);
                     });
    };
    on(MainCommand::SaveAs, [](MainPageCommands* part) { part->actSaveAsExecute(); });
    on(MainCommand::Print, [](MainPageCommands* part) { part->actPrintExecute(true); });
    on(MainCommand::PrintWithoutDialog,
       [](MainPageCommands* part) { part->actPrintExecute(false); });
    on(MainCommand::PrintPreview, [](MainPageCommands* part) { part->pmFilePrintPreviewClick(); });
    on(MainCommand::PageSetup, [](MainPageCommands* part) { part->actPageSetupExecute(); });
    on(MainCommand::Find, [](MainPageCommands* part) { part->actFindExecute(); });
    on(MainCommand::ViewSource, [](MainPageCommands* part) { part->actViewSourceExecute(); });
    for (const auto& [command, edit] :
         {std::pair{MainCommand::Cut, EditCut}, std::pair{MainCommand::Copy, EditCopy},
          std::pair{MainCommand::Paste, EditPaste},
          std::pair{MainCommand::SelectAll, EditSelectAll}})
        on(command, [edit](MainPageCommands* part) { part->RunEdit(edit); });
}

TBrowserTab* MainPageCommands::pageTab() const
{
    TBrowserTab* tab = m_window->GetActivePage();
    return tab && tab->Browser() && !tab->Browser()->LocationURL().isEmpty() ? tab : nullptr;
}

QString MainPageCommands::text(const QString& key) const
{
    return m_window->Services()->GetLangText(Section, key);
}

void MainPageCommands::reportLater(const QString& key, const QString& argument)
{
    const QString message = text(key).arg(argument);
    QTimer::singleShot(0, m_window,
                       [window = m_window, message] { window->Services()->showError(message); });
}

bool MainPageCommands::refuseWhilePrinting() const
{
    if (m_printing)
        m_window->ShowMessage(text(QStringLiteral("PrintBusy")));
    return m_printing;
}

// ---- Save As

void MainPageCommands::actSaveAsExecute()
{
    TBrowserTab* tab = pageTab();
    if (!tab)
        return;
    IBrowserControl* browser = tab->Browser();
    const QStringList filters = {text(QStringLiteral("SaveAsFilterComplete")),
                                 text(QStringLiteral("SaveAsFilterSingleFile")),
                                 text(QStringLiteral("SaveAsFilterText"))};
    auto* dialog = new QFileDialog(m_window, text(QStringLiteral("SaveAsCaption")));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilters(filters);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    // A desktop without a downloads folder would leave the dialog in the
    // program's working folder.
    dialog->setDirectory(!folder.isEmpty() && QDir(folder).exists() ? folder : QDir::homePath());
    dialog->selectFile(PageSaveChoice::SuggestedName(
        browser->LocationName(), browser->LocationURL(), PageSaveFormat::CompleteHtml));
    // The name's suffix follows the type the user picks.
    connect(dialog, &QFileDialog::filterSelected, dialog,
            [dialog, filters](const QString& filter)
            {
                const auto format = PageSaveChoice::Formats().value(filters.indexOf(filter));
                const QFileInfo name(dialog->selectedFiles().value(0));
                if (!name.completeBaseName().isEmpty())
                    dialog->selectFile(name.completeBaseName() + u'.' +
                                       PageSaveChoice::Suffix(format));
            });
    connect(
        dialog, &QFileDialog::fileSelected, this,
        [this, dialog, filters, browser, view = QPointer(browser->widget())](const QString& path)
        {
            // The tab may have closed while the dialog was open.
            if (!view || path.isEmpty())
                return;
            const int type = std::max<int>(0, filters.indexOf(dialog->selectedNameFilter()));
            const PageSaveChoice::Choice choice =
                PageSaveChoice::Decide(path, PageSaveChoice::Formats().value(type));
            browser->SavePage(choice.path, choice.format,
                              [self = QPointer(this), target = choice.path](bool ok)
                              {
                                  if (!ok && self)
                                      self->reportLater(QStringLiteral("SaveAsFailed"),
                                                        QDir::toNativeSeparators(target));
                              });
        });
    dialog->open();
}

// ---- printing

void MainPageCommands::actPrintExecute(bool prompt)
{
    TBrowserTab* tab = pageTab();
    if (!tab || refuseWhilePrinting())
        return;
    IBrowserControl* browser = tab->Browser();
    // Without a printer to print to, the dialog offers a file instead.
    if (!prompt && !QPrinterInfo::defaultPrinter().isNull())
    {
        m_printer->setPrinterName(QPrinterInfo::defaultPrinter().printerName());
        startPrint(browser);
        return;
    }
    // Printed to a file, each page is offered under its own name (the
    // dialog drops the docName's suffix), in the folder chosen last.
    const QString name = QFileInfo(PageSaveChoice::SuggestedName(browser->LocationName(),
                                                                 browser->LocationURL(),
                                                                 PageSaveFormat::CompleteHtml))
                             .completeBaseName() +
                         QStringLiteral(".pdf");
    m_printer->setDocName(name);
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty())
        m_printer->setOutputFileName(QFileInfo(m_printer->outputFileName()).dir().filePath(name));
    auto* dialog = new QPrintDialog(m_printer.get(), m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, browser, view = QPointer(browser->widget())]
            {
                if (view && !refuseWhilePrinting())
                    startPrint(browser);
            });
    dialog->open();
}

void MainPageCommands::startPrint(IBrowserControl* browser)
{
    m_printing = true;
    const bool started =
        browser->PrintPage(m_printer.get(),
                           [self = QPointer(this)](bool ok)
                           {
                               if (!self)
                                   return;
                               self->m_printing = false;
                               if (!ok)
                                   self->reportLater(QStringLiteral("PrintFailed"));
                           });
    if (!started)
    {
        m_printing = false;
        m_window->ShowMessage(text(QStringLiteral("PrintBusy")));
    }
}

void MainPageCommands::pmFilePrintPreviewClick()
{
    TBrowserTab* tab = pageTab();
    if (!tab || refuseWhilePrinting() || m_preview)
        return;
    IBrowserControl* browser = tab->Browser();
    auto* dialog = new QPrintPreviewDialog(m_printer.get(), m_window);
    dialog->setObjectName(QStringLiteral("dlgPrintPreview"));
    m_preview = dialog;
    m_previewClosed = false;
    connect(dialog, &QPrintPreviewDialog::paintRequested, this,
            [this, browser, view = QPointer(browser->widget())](QPrinter* printer)
            { paintPreview(printer, browser, view); });
    // Closed while it paints, the dialog must stay until its paint request
    // has returned.
    connect(dialog, &QDialog::finished, this,
            [this, dialog]
            {
                m_previewClosed = true;
                if (!m_previewPainting)
                    dialog->deleteLater();
            });
    dialog->open();
}

void MainPageCommands::paintPreview(QPrinter* printer, IBrowserControl* browser, QWidget* view)
{
    // A page that has gone, or a print that is still running, leaves the
    // preview empty.
    if (!view || m_printing || m_previewPainting)
        return;
    m_printing = true;
    m_previewPainting = true;
    QEventLoop loop;
    bool done = false;
    bool succeeded = false;
    const bool started = browser->PrintPage(printer,
                                            [&done, &succeeded, &loop](bool ok)
                                            {
                                                done = true;
                                                succeeded = ok;
                                                loop.quit();
                                            });
    // The preview draws what its printer holds when this returns; the
    // window goes on meanwhile. The engine answers in every case, also
    // when the page goes away.
    const QPointer<MainPageCommands> self(this);
    if (started && !done)
        loop.exec();
    if (!self)
        return;
    m_printing = false;
    m_previewPainting = false;
    if (started && !succeeded)
        reportLater(QStringLiteral("PrintFailed"));
    if (m_previewClosed && m_preview)
        m_preview->deleteLater();
}

void MainPageCommands::actPageSetupExecute()
{
    if (!pageTab() || refuseWhilePrinting())
        return;
    auto* dialog = new QPageSetupDialog(m_printer.get(), m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

// ---- find

void MainPageCommands::actFindExecute()
{
    TBrowserTab* tab = pageTab();
    if (!tab)
        return;
    tab->FocusPage();
    m_findBar->Open(tab->Browser()->SelectedText().simplified());
}

bool MainPageCommands::FindBarHasFocus() const
{
    return m_findBar->HasFocus();
}

void MainPageCommands::find(const QString& what, bool backward, bool matchCase)
{
    // Only one page shows a highlight: the one in front.
    if (m_findView && m_findBrowser)
        if (what.isEmpty() || m_findBrowser != (pageTab() ? pageTab()->Browser() : nullptr))
            m_findBrowser->FindText(QString(), false, false, {});
    m_findBrowser = nullptr;
    m_findView = nullptr;
    TBrowserTab* tab = pageTab();
    if (!tab || what.isEmpty())
    {
        m_findBar->ClearResult();
        return;
    }
    IBrowserControl* browser = tab->Browser();
    m_findBrowser = browser;
    m_findView = browser->widget();
    browser->FindText(what, backward, matchCase,
                      [self = QPointer(this), browser, what](const FindResult& result)
                      {
                          // A late answer for another page or text is not
                          // what the bar asks about any more.
                          if (self && self->m_findBrowser == browser && self->m_findView &&
                              self->m_findBar->Text() == what)
                              self->m_findBar->ShowResult(result);
                      });
}

void MainPageCommands::activeTabChanged()
{
    if (m_findBar->isVisible())
        find(m_findBar->Text(), false, m_findBar->MatchCase());
}

void MainPageCommands::placeFindBar()
{
    // The bar sits under the pages, in the place the pages had.
    QWidget* pages = m_window->PageControl();
    auto* splitter = qobject_cast<QSplitter*>(pages->parentWidget());
    auto* column = new QWidget;
    column->setObjectName(QStringLiteral("pnlPages"));
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The splitter keeps its stretch in the size policy: the side bar keeps
    // its width, the pages take the rest.
    column->setSizePolicy(pages->sizePolicy());
    if (splitter)
        splitter->replaceWidget(splitter->indexOf(pages), column);
    layout->addWidget(pages, 1);
    layout->addWidget(m_findBar);
    pages->show();
}

// ---- view source, edit commands

void MainPageCommands::actViewSourceExecute()
{
    TBrowserTab* tab = pageTab();
    if (!tab)
        return;
    QString address = tab->Browser()->LocationURL();
    if (!address.startsWith(ViewSourcePrefix))
        address.prepend(ViewSourcePrefix);
    if (TBrowserTab* source = m_window->TabSet()->AddTab())
        source->Navigate(address);
}

void MainPageCommands::RunEdit(EditCommand command)
{
    QWidget* focus = QApplication::focusWidget();
    const MainSearchPane* pane = m_window->SearchPane();
    TBrowserTab* tab = m_window->GetActivePage();
    EditCommandTarget::State state;
    state.textBoxFocused = TKeyFilter::IsTextBox(focus);
    state.searchPaneFocused = pane && pane->SearchBrowser() && pane->HasFocus();
    state.hasPage = tab && tab->Browser();
    const EditCommandTarget::Decision decision = EditCommandTarget::Decide(command, state);
    switch (decision.target)
    {
    case EditCommandTarget::TextBox:
        runInTextBox(focus, command);
        break;
    case EditCommandTarget::SearchPane:
        pane->SearchBrowser()->ExecEdit(command);
        break;
    case EditCommandTarget::Page:
        if (decision.activatePageFirst)
            tab->FocusPage();
        tab->Browser()->ExecEdit(command);
        break;
    case EditCommandTarget::Nothing:
        break;
    }
}
