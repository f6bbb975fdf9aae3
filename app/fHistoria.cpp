#include "fHistoria.h"

#include "uAppContext.h"
#include "uDisk.h"
#include "uMainWindowLink.h"
#include "uProgramSettings.h"
#include "uSpolocneOkna.h"
#include "uTextCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

QString DialogFilterToQt(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString mask = parts.at(i + 1);
        mask.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(parts.at(i) + QStringLiteral(" (") + mask + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

static QPushButton *MakeButton(QWidget *parent, const char *name, const QString &text, QStyle::StandardPixmap icon) {
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(parent->style()->standardIcon(icon));
    return button;
}

ThistoriaFrm::ThistoriaFrm(TMainWindowLink *main, QWidget *parent) : TMagneticForm(parent), m_main(main) {
    setObjectName(QStringLiteral("historiaFrm"));
    setWindowTitle(QStringLiteral("História výpočtov"));
    setMinimumSize(MinimumWidth, 134);
    resize(416, 237);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->viewport()->installEventFilter(this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->installEventFilter(this);

    BtnPouzit = MakeButton(this, "BtnPouzit", QStringLiteral("Použiť"), QStyle::SP_ArrowUp);
    BtnKopirovat = MakeButton(this, "BtnKopirovat", QStringLiteral("Kopírovať"), QStyle::SP_FileDialogContentsView);
    BtnZmazat = MakeButton(this, "BtnZmazat", QStringLiteral("Zmazať"), QStyle::SP_TrashIcon);
    BtnUlozit = MakeButton(this, "BtnUlozit", QStringLiteral("Uložiť"), QStyle::SP_DialogSaveButton);
    BtnZatvorit = MakeButton(this, "BtnZatvorit", QStringLiteral("Zatvoriť"), QStyle::SP_DialogCloseButton);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {BtnPouzit, BtnKopirovat, BtnZmazat, BtnUlozit})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(BtnZatvorit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ListBox1, 1);
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    PovolTlacitka(false);

    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        m_historia.SetItemIndex(row);
        ListBox1Click();
    });
    connect(ListBox1, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        m_historia.SetItemIndex(ListBox1->row(item));
        ListBox1Click();
    });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { BtnPouzit->click(); });
    connect(BtnPouzit, &QPushButton::clicked, this, &ThistoriaFrm::BtnPouzitClick);
    connect(BtnKopirovat, &QPushButton::clicked, this, &ThistoriaFrm::BtnKopirovatClick);
    connect(BtnZmazat, &QPushButton::clicked, this, &ThistoriaFrm::BtnZmazatClick);
    connect(BtnUlozit, &QPushButton::clicked, this, &ThistoriaFrm::BtnUlozitClick);
    connect(BtnZatvorit, &QPushButton::clicked, this, &QWidget::close);

    // Creation: snapping, the saved list, the language.
    SetMaster(m_main ? m_main->Window() : nullptr);
    SetSnapDistance(5);
    const QRect screen(QPoint(0, 0), PrimaryScreenSize());
    move(screen.center() - QPoint(width() / 2, height() / 2));
    const QString file = ProgramDir() + QStringLiteral("history.dat");
    if (KProgramSettings::Instance().SaveHistory && QFileInfo(file).isFile() && m_historia.Load(file))
        ShowList();
    // The window's own buttons wait for a click or a calculation, but the
    // main window's Back steps through a saved history from the start.
    if (m_main && !m_historia.IsEmpty())
        m_main->SetBackEnabled(true);
    ApplyLanguage();
    FitButtons();
}

void ThistoriaFrm::FitButtons() {
    // The window is never narrower than its row of buttons, so that none is
    // squeezed below its caption and glyph in any language. The row's size
    // is taken anew for the captions just set.
    layout()->activate();
    const int needed = std::max(MinimumWidth, minimumSizeHint().width());
    setMinimumWidth(needed);
    if (width() < needed)
        resize(needed, height());
}

void ThistoriaFrm::ShowList() {
    const QSignalBlocker quiet(ListBox1);
    ListBox1->clear();
    ListBox1->addItems(m_historia.Items());
    ListBox1->setCurrentRow(m_historia.ItemIndex());
    if (ListBox1->currentItem())
        ListBox1->scrollToItem(ListBox1->currentItem());
}

void ThistoriaFrm::PridajDoHistorie(const QString &s) {
    m_historia.Add(s);
    ShowList();
    PovolTlacitka(true);
}

void ThistoriaFrm::PovolTlacitka(bool enable) {
    for (QPushButton *b : {BtnPouzit, BtnKopirovat, BtnZmazat, BtnUlozit})
        b->setEnabled(enable);
    if (m_main)
        m_main->SetBackEnabled(enable);
}

void ThistoriaFrm::ListBox1Click() { Edit1->setText(m_historia.Selected()); }

void ThistoriaFrm::Edit1Click() {
    if (Edit1->text().isEmpty())
        return;
    const int index = m_historia.IndexOf(Edit1->text());
    if (index >= 0) {
        m_historia.SetItemIndex(index);
        ShowList();
    }
}

bool ThistoriaFrm::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonRelease && watched == ListBox1->viewport()) {
        // A press on a row selects it first; the buttons follow the selection.
        PovolTlacitka(m_historia.ItemIndex() >= 0);
    } else if (event->type() == QEvent::MouseButtonRelease && watched == Edit1) {
        Edit1Click();
    }
    return TMagneticForm::eventFilter(watched, event);
}

void ThistoriaFrm::BtnPouzitClick() {
    if (m_historia.ItemIndex() < 0)
        return;
    QString expression, result;
    THistoria::SplitEntry(m_historia.Selected(), expression, result);
    if (m_main) {
        m_main->SetInputText(expression);
        m_main->ShowResult(result);
        m_main->ActivateInput();
    }
}

void ThistoriaFrm::Back() {
    if (!m_historia.Back())
        return;
    ShowList();
    BtnPouzitClick();
}

void ThistoriaFrm::BtnKopirovatClick() {
    if (!Edit1->hasSelectedText())
        Edit1->selectAll();
    if (!Edit1->text().isEmpty())
        Edit1->copy();
    Edit1->setFocus();
}

void ThistoriaFrm::BtnZmazatClick() {
    if (!m_historia.DeleteSelected())
        return;
    ShowList();
    if (m_historia.ItemIndex() < 0) {
        PovolTlacitka(false);
        Edit1->clear();
    } else {
        Edit1->setText(m_historia.Selected());
    }
}

void ThistoriaFrm::BtnUlozitClick() {
    if (m_historia.IsEmpty())
        return;
    const auto &ask = AppContext().SaveFileName;
    if (!ask)
        return;
    const QString fileName = ask(this, TFileDialogRequest{m_dialogTitle, m_dialogFileName,
                                                          DialogFilterToQt(m_dialogFilter), QStringLiteral("txt")});
    if (fileName.isEmpty())
        return;
    const TWriteResult result = m_historia.Save(fileName);
    if (!result)
        ShowWarningBox(
            QApplication::applicationName(),
            QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(fileName), result.Error),
            this);
}

bool ThistoriaFrm::SaveHistoryFile(QString *error) const {
    const TWriteResult result = m_historia.Save(ProgramDir() + QStringLiteral("history.dat"));
    if (!result && error)
        *error = result.Error;
    return result.Ok;
}

void ThistoriaFrm::ApplyLanguage() {
    if (!LanguageIni())
        return;
    const QString form = QStringLiteral("HistoryForm");
    const QString common = QStringLiteral("Common");
    TranslateWindowTitle(this, form, QStringLiteral("Caption"));
    TranslateText(BtnPouzit, common, QStringLiteral("Use"));
    TranslateText(BtnKopirovat, common, QStringLiteral("Copy"));
    TranslateText(BtnZmazat, common, QStringLiteral("Delete"));
    TranslateText(BtnUlozit, common, QStringLiteral("Save"));
    TranslateText(BtnZatvorit, common, QStringLiteral("Close"));
    m_dialogTitle = LanguageText(form, QStringLiteral("SaveDialogCaption"), m_dialogTitle);
    m_dialogFileName = LanguageText(form, QStringLiteral("DefaultFileName"), m_dialogFileName);
    m_dialogFilter =
        LanguageText(common, QStringLiteral("TextFile"), QStringLiteral("Textový súbor")) + QStringLiteral("|*.txt");
    FitButtons();
}
