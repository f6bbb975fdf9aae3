#include "fJazyk.h"

#include "uDisk.h"
#include "uMainWindowLink.h"
#include "uSpolocneOkna.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TjazykFrm::TjazykFrm(TMainWindowLink *main, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_main(main) {
    setObjectName(QStringLiteral("jazykFrm"));
    setWindowTitle(QStringLiteral("Language"));
    setMinimumSize(400, 240);
    resize(400, 240);

    languagesLsb = new QListWidget(this);
    languagesLsb->setObjectName(QStringLiteral("languagesLsb"));
    languagesLsb->setSortingEnabled(true);
    authorTitleLbl = MakeLabel(this, "authorTitleLbl", QStringLiteral("Author:"));
    programTitleLbl = MakeLabel(this, "programTitleLbl", QStringLiteral("Program:"));
    dateOfFileTitleLbl = MakeLabel(this, "dateOfFileTitleLbl", QStringLiteral("Date of file:"));
    emailTitleLbl = MakeLabel(this, "emailTitleLbl", QStringLiteral("E-mail:"));
    webTitleLbl = MakeLabel(this, "webTitleLbl", QStringLiteral("Web:"));
    authorLbl = MakeLabel(this, "authorLbl");
    programLbl = MakeLabel(this, "programLbl");
    datumLbl = MakeLabel(this, "datumLbl");
    emailLbl = new TLinkLabel(this);
    emailLbl->setObjectName(QStringLiteral("emailLbl"));
    webLbl = new TLinkLabel(this);
    webLbl->setObjectName(QStringLiteral("webLbl"));
    okBtn = new QPushButton(QStringLiteral("Ok"), this);
    okBtn->setObjectName(QStringLiteral("okBtn"));
    okBtn->setDefault(true);
    applyBtn = new QPushButton(QStringLiteral("Apply"), this);
    applyBtn->setObjectName(QStringLiteral("applyBtn"));
    applyBtn->setEnabled(false);
    cancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    cancelBtn->setObjectName(QStringLiteral("cancelBtn"));

    auto *details = new QFormLayout;
    details->addRow(programTitleLbl, programLbl);
    details->addRow(dateOfFileTitleLbl, datumLbl);
    details->addRow(authorTitleLbl, authorLbl);
    details->addRow(emailTitleLbl, emailLbl);
    details->addRow(webTitleLbl, webLbl);
    auto *top = new QHBoxLayout;
    top->addWidget(languagesLsb, 2);
    top->addLayout(details, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okBtn);
    buttons->addWidget(applyBtn);
    buttons->addWidget(cancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(languagesLsb, &QListWidget::itemSelectionChanged, this, &TjazykFrm::languagesLsbClick);
    connect(applyBtn, &QPushButton::clicked, this, &TjazykFrm::applyBtnClick);
    connect(okBtn, &QPushButton::clicked, this, &TjazykFrm::okBtnClick);
    connect(cancelBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(emailLbl, &TLinkLabel::clicked, this, [this] { OpenMailLink(emailLbl); });
    connect(webLbl, &TLinkLabel::clicked, this, [this] { OpenWebLink(webLbl); });

    CentreOnScreen(this);
    ApplyLanguage();
}

void TjazykFrm::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TjazykFrm::FormShow() {
    m_zoznam.Load(ProgramPath(QStringLiteral("lang\\")));
    {
        const QSignalBlocker quiet(languagesLsb);
        languagesLsb->clear();
        languagesLsb->addItems(m_zoznam.FillStrings());
        languagesLsb->setCurrentItem(nullptr);
    }
    const std::shared_ptr<const TIniFile> ini = LanguageIni();
    if (!ini)
        return;
    const QString current =
        ini->ReadString(QStringLiteral("info"), QStringLiteral("languagename"), TZoznamJazykov::NoName);
    const QList<QListWidgetItem *> found = languagesLsb->findItems(current, Qt::MatchExactly);
    {
        const QSignalBlocker quiet(languagesLsb);
        languagesLsb->setCurrentItem(found.isEmpty() ? nullptr : found.first());
    }
    languagesLsbClick();
    applyBtn->setEnabled(false);
}

void TjazykFrm::languagesLsbClick() {
    const QListWidgetItem *item = languagesLsb->currentItem();
    if (!item || !item->isSelected())
        return;
    TUdaje record;
    m_zoznam.Find(item->text(), record);
    programLbl->setText(record.Program);
    datumLbl->setText(record.FileDate);
    authorLbl->setText(record.AuthorName);
    emailLbl->setText(record.AuthorEmail);
    webLbl->setText(record.AuthorUrl);
    applyBtn->setEnabled(true);
}

void TjazykFrm::applyBtnClick() {
    const QListWidgetItem *item = languagesLsb->currentItem();
    if (item && item->isSelected()) {
        TUdaje record;
        if (m_zoznam.Find(item->text(), record) && m_main)
            m_main->ApplyLanguageToAllForms(QStringLiteral("lang\\") + record.FileName);
        ApplyLanguage();
    }
    applyBtn->setEnabled(false);
}

void TjazykFrm::okBtnClick() {
    if (applyBtn->isEnabled())
        applyBtn->click();
    applyBtn->setEnabled(false);
    close();
}

void TjazykFrm::ApplyLanguage() {
    if (!LanguageIni())
        return;
    const QString form = QStringLiteral("LanguageForm");
    const QString common = QStringLiteral("Common");
    TranslateWindowTitle(this, form, QStringLiteral("Caption"));
    TranslateText(programTitleLbl, form, QStringLiteral("Program"));
    TranslateText(dateOfFileTitleLbl, form, QStringLiteral("dateoffile"));
    TranslateText(authorTitleLbl, form, QStringLiteral("authoroftranslation"));
    TranslateText(emailTitleLbl, common, QStringLiteral("email"));
    TranslateText(webTitleLbl, common, QStringLiteral("web"));
    TranslateText(okBtn, common, QStringLiteral("ok"));
    TranslateText(applyBtn, common, QStringLiteral("apply"));
    TranslateText(cancelBtn, common, QStringLiteral("cancel"));
}
