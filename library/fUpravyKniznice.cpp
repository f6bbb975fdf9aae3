#include "fUpravyKniznice.h"

#include "uAppContext.h"
#include "uDisk.h"
#include "uPrehliadacVyrazov.h"
#include "uSpolocneOkna.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TUpravyKnizniceFrm::TUpravyKnizniceFrm(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("UpravyKnizniceFrm"));
    setWindowTitle(QStringLiteral("Add / modify library"));
    FilterText = QStringLiteral("Tarbelon expression library (xml)");

    nazovLbl = MakeLabel(this, "nazovLbl", QStringLiteral("Name:"));
    nazovEdt = Named(new QLineEdit(this), "nazovEdt");
    menoSuboruLbl = MakeLabel(this, "menoSuboruLbl", QStringLiteral("File name:"));
    menoSuboruEdt = Named(new QLineEdit(this), "menoSuboruEdt");
    menoSuboruEdt->setReadOnly(true);
    vyberSuborBtn = Named(new QPushButton(QStringLiteral("..."), this), "vyberSuborBtn");
    vyberSuborBtn->setFixedWidth(vyberSuborBtn->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    vyberSuborBtn->setAutoDefault(false);
    verziaLbl = MakeLabel(this, "verziaLbl", QStringLiteral("Version:"));
    verziaEdt = Named(new QLineEdit(QStringLiteral("0.0.0"), this), "verziaEdt");
    autorLbl = MakeLabel(this, "autorLbl", QStringLiteral("Author"));
    autorEdt = Named(new QLineEdit(this), "autorEdt");
    autorWebLbl = MakeLabel(this, "autorWebLbl", QStringLiteral("Web:"));
    autorWebEdt = Named(new QLineEdit(this), "autorWebEdt");
    autorEmailLbl = MakeLabel(this, "autorEmailLbl", QStringLiteral("E-mail:"));
    autorMailEdt = Named(new QLineEdit(this), "autorMailEdt");
    popisLbl = MakeLabel(this, "popisLbl", QStringLiteral("Description:"));
    popisMmo = Named(new QPlainTextEdit(this), "popisMmo");

    auto *fields = new QGridLayout;
    fields->addWidget(nazovLbl, 0, 0);
    fields->addWidget(nazovEdt, 0, 1, 1, 2);
    fields->addWidget(menoSuboruLbl, 1, 0);
    fields->addWidget(menoSuboruEdt, 1, 1);
    fields->addWidget(vyberSuborBtn, 1, 2);
    fields->addWidget(verziaLbl, 2, 0);
    fields->addWidget(verziaEdt, 2, 1, 1, 2);
    fields->addWidget(autorLbl, 3, 0);
    fields->addWidget(autorEdt, 3, 1, 1, 2);
    fields->addWidget(autorWebLbl, 4, 0);
    fields->addWidget(autorWebEdt, 4, 1, 1, 2);
    fields->addWidget(autorEmailLbl, 5, 0);
    fields->addWidget(autorMailEdt, 5, 1, 1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(popisLbl);
    layout->addWidget(popisMmo, 1);
    layout->addLayout(MakeOkCancelRow(this, okBtn, zrusitBtn, QStringLiteral("Cancel"), 75));
    okBtn->setEnabled(false);
    setTabOrder(nazovEdt, menoSuboruEdt);
    setTabOrder(menoSuboruEdt, vyberSuborBtn);
    setTabOrder(vyberSuborBtn, verziaEdt);
    setTabOrder(verziaEdt, autorEdt);
    setTabOrder(autorEdt, autorWebEdt);
    setTabOrder(autorWebEdt, autorMailEdt);
    setTabOrder(autorMailEdt, popisMmo);
    setTabOrder(popisMmo, okBtn);
    setTabOrder(okBtn, zrusitBtn);
    popisMmo->setTabChangesFocus(true);
    // Not sizeable: the given size, or what the fonts need.
    setFixedSize(sizeHint().expandedTo(QSize(250, 298)));

    auto enableOk = [this] { okBtn->setEnabled(true); };
    for (QLineEdit *edit : {nazovEdt, menoSuboruEdt, verziaEdt, autorEdt, autorWebEdt, autorMailEdt})
        connect(edit, &QLineEdit::textChanged, this, enableOk);
    connect(popisMmo, &QPlainTextEdit::textChanged, this, enableOk);
    connect(vyberSuborBtn, &QPushButton::clicked, this, &TUpravyKnizniceFrm::vyberSuborBtnClick);
    connect(okBtn, &QPushButton::clicked, this, &TUpravyKnizniceFrm::okBtnClick);

    ApplyLanguage();
}

void TUpravyKnizniceFrm::ResetForNewLibrary() {
    nazovEdt->setText(DefaultLibraryName);
    menoSuboruEdt->clear();
    verziaEdt->setText(QStringLiteral("0.0.0"));
    autorEdt->clear();
    autorWebEdt->clear();
    autorMailEdt->clear();
    popisMmo->clear();
}

void TUpravyKnizniceFrm::SetLibraryInfo(const TInfoKniznice &info) {
    nazovEdt->setText(info.Name);
    menoSuboruEdt->setText(info.FileName);
    verziaEdt->setText(info.Version);
    autorEdt->setText(info.Author);
    autorWebEdt->setText(info.AuthorWeb);
    autorMailEdt->setText(info.AuthorEmail);
    popisMmo->setPlainText(SplitString(info.Description, QLatin1Char('|')).join(QLatin1Char('\n')));
    okBtn->setEnabled(false);
}

TInfoKniznice TUpravyKnizniceFrm::GetLibraryInfo() const {
    TInfoKniznice info;
    info.Name = nazovEdt->text();
    info.FileName = menoSuboruEdt->text();
    info.Version = verziaEdt->text();
    info.Author = autorEdt->text();
    info.AuthorWeb = autorWebEdt->text();
    info.AuthorEmail = autorMailEdt->text();
    const QDate today = AppContext().UtcNow().toLocalTime().date();
    info.Date = QLocale::system().toString(today, QLocale::ShortFormat);
    info.Description = JoinStrings(MemoLines(popisMmo->toPlainText()), QLatin1Char('|'));
    return info;
}

void TUpravyKnizniceFrm::vyberSuborBtnClick() {
    TFileDialogRequest request;
    request.Title = windowTitle();
    request.FileName =
        menoSuboruEdt->text().isEmpty() ? QDir(m_initialFolder).filePath(DefaultFileName) : menoSuboruEdt->text();
    request.Filter = FilterText + QStringLiteral(" (*.xml)");
    request.DefaultSuffix = QStringLiteral("xml");
    const auto &ask = AppContext().SaveFileName;
    const QString chosen = ask ? ask(this, request) : QString();
    if (!chosen.isEmpty())
        menoSuboruEdt->setText(chosen);
}

void TUpravyKnizniceFrm::okBtnClick() {
    if (WarnIfEmpty(this, nazovEdt->text(), NoLibraryNameErr, nazovEdt) ||
        WarnIfEmpty(this, menoSuboruEdt->text(), NoFileNameErr, vyberSuborBtn))
        return;
    accept();
}

void TUpravyKnizniceFrm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // Centred on a window near the screen's edge, the dialog could open with
    // its title bar off the screen.
    KeepOnScreen(this);
    nazovEdt->setFocus();
}

void TUpravyKnizniceFrm::ApplyLanguage() {
    NoLibraryNameErr = QStringLiteral("You must enter a valid library name.");
    NoFileNameErr = QStringLiteral("You must enter a valid file name.");
    DefaultLibraryName = QStringLiteral("New library");
    DefaultFileName = QStringLiteral("new_library.xml");
    if (!LanguageIni())
        return;
    const QString browser = QStringLiteral("ExpressionBrowser");
    const QString common = QStringLiteral("Common");
    NoLibraryNameErr = LanguageText(browser, QStringLiteral("NoLibraryNameErr"), NoLibraryNameErr);
    NoFileNameErr = LanguageText(browser, QStringLiteral("NoFileNameErr"), NoFileNameErr);
    DefaultLibraryName = LanguageText(browser, QStringLiteral("NewLibrary"), DefaultLibraryName);
    DefaultFileName = LanguageText(browser, QStringLiteral("NewFileName"), DefaultFileName);
    TranslateWindowTitle(this, browser, QStringLiteral("AddModifyLibrary"));
    TranslateText(nazovLbl, browser, QStringLiteral("ExpressionName"));
    TranslateText(menoSuboruLbl, browser, QStringLiteral("FileName"));
    TranslateText(verziaLbl, browser, QStringLiteral("FileVersion"));
    TranslateText(autorLbl, common, QStringLiteral("Author"));
    TranslateText(autorWebLbl, common, QStringLiteral("Web"));
    TranslateText(autorEmailLbl, common, QStringLiteral("Email"));
    TranslateText(popisLbl, browser, QStringLiteral("Description"));
    TranslateText(okBtn, common, QStringLiteral("Ok"));
    TranslateText(zrusitBtn, common, QStringLiteral("Cancel"));
    FilterText =
        LanguageText(browser, QStringLiteral("TarbelonLibrary"), QStringLiteral("Tarbelon expression library (xml)"));
}
