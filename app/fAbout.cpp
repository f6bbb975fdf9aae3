#include "fAbout.h"

#include "uAktualizacia.h"
#include "uDisk.h"
#include "uJpeg.h"
#include "uOvladace.h"
#include "uSpolocneOkna.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>

#ifndef TARBELON_VERSION
#define TARBELON_VERSION "1.0"
#endif

QString ProgramVersionText() {
    return QStringLiteral(TARBELON_VERSION) + QStringLiteral(".0.") + QString::number(OwnBuild);
}

namespace {

QLabel *PlacedLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry) {
    QLabel *label = MakeLabel(parent, name, text);
    label->setGeometry(geometry);
    return label;
}

QFont PixelFont(const QString &family, int pixels, bool bold, bool italic = false) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

} // namespace

ToProgrameFrm::ToProgrameFrm(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("oProgrameFrm"));
    setWindowTitle(QStringLiteral("Tarbelon - O programe"));
    setFixedSize(434, 318);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    obrazokImg = new TObrazok(this);
    obrazokImg->setObjectName(QStringLiteral("obrazokImg"));
    obrazokImg->setGeometry(0, 0, 169, 318);
    QFile picture(QStringLiteral(":/pictures/oprograme.jpg"));
    if (picture.open(QIODevice::ReadOnly))
        obrazokImg->SetImage(DecodeJpeg(picture.readAll()));

    const int x = 185;
    nadpisLbl = PlacedLabel(this, "nadpisLbl", QStringLiteral("Tarbelon"), QRect(x, 18, 230, 40));
    nadpisLbl->setFont(PixelFont(QStringLiteral("Verdana"), 27, true, true));
    QPalette green = nadpisLbl->palette();
    green.setColor(QPalette::WindowText, QColor(0, 128, 0));
    nadpisLbl->setPalette(green);

    const QFont value = PixelFont(QStringLiteral("Tahoma"), 15, true);
    const QFont title = PixelFont(QStringLiteral("Tahoma"), 13, false);
    verziaTitulokLbl = PlacedLabel(this, "verziaTitulokLbl", QStringLiteral("verzia: "), QRect(x, 74, 110, 20));
    verziaLbl = PlacedLabel(this, "verziaLbl", QString(), QRect(x + 112, 72, 130, 22));
    datumVerzieTitulokLbl =
        PlacedLabel(this, "datumVerzieTitulokLbl", QStringLiteral("dátum verzie:"), QRect(x, 98, 110, 20));
    datumVerzieLbl = PlacedLabel(this, "datumVerzieLbl", QString(), QRect(x + 112, 96, 130, 22));
    strankaTitulokLbl =
        PlacedLabel(this, "strankaTitulokLbl", QStringLiteral("domovská stránka:"), QRect(x, 140, 240, 18));
    strankaLbl = new TLinkLabel(this);
    strankaLbl->setObjectName(QStringLiteral("strankaLbl"));
    strankaLbl->setGeometry(x, 158, 240, 20);
    kontaktTitulokLbl = PlacedLabel(this, "kontaktTitulokLbl", QStringLiteral("kontakt:"), QRect(x, 188, 240, 18));
    kontaktLbl = new TLinkLabel(this);
    kontaktLbl->setObjectName(QStringLiteral("kontaktLbl"));
    kontaktLbl->setGeometry(x, 206, 240, 20);
    patickaLbl =
        PlacedLabel(this, "patickaLbl", QStringLiteral("Vedecká kalkulačka pre každý deň."), QRect(x, 244, 240, 18));
    for (QLabel *l : {verziaTitulokLbl, datumVerzieTitulokLbl, strankaTitulokLbl, kontaktTitulokLbl, patickaLbl})
        l->setFont(title);
    for (QLabel *l : {verziaLbl, datumVerzieLbl})
        l->setFont(value);
    QFont link = value;
    link.setUnderline(true);
    link.setPixelSize(13);
    for (QLabel *l : {static_cast<QLabel *>(strankaLbl), static_cast<QLabel *>(kontaktLbl)})
        l->setFont(link);
    strankaLbl->setText(QLatin1String(MakersHomePage));
    kontaktLbl->setText(QLatin1String(MakersContact));

    okBtn = new QPushButton(QStringLiteral("Ok"), this);
    okBtn->setObjectName(QStringLiteral("okBtn"));
    okBtn->setGeometry(434 - 16 - 80, 318 - 16 - 26, 80, 26);
    okBtn->setDefault(true);

    connect(okBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(strankaLbl, &TLinkLabel::clicked, this, [this] { OpenWebLink(strankaLbl); });
    connect(kontaktLbl, &TLinkLabel::clicked, this, [this] { OpenMailLink(kontaktLbl); });

    CentreOnScreen(this);
    FormCreate();
}

void ToProgrameFrm::FormCreate() {
    verziaLbl->setText(ProgramVersionText());
    datumVerzieLbl->setText(QLatin1String(ProgramVersionDate));
    ApplyLanguage();
}

void ToProgrameFrm::ApplyLanguage() {
    if (!LanguageIni())
        return;
    const QString form = QStringLiteral("AboutForm");
    TranslateWindowTitle(this, form, QStringLiteral("Caption"));
    TranslateText(verziaTitulokLbl, form, QStringLiteral("Version"));
    TranslateText(datumVerzieTitulokLbl, form, QStringLiteral("DateOfVersion"));
    TranslateText(strankaTitulokLbl, form, QStringLiteral("Homepage"));
    TranslateText(kontaktTitulokLbl, form, QStringLiteral("Contact"));
    // The button reads as the other windows' do in the language.
    TranslateText(okBtn, QStringLiteral("Common"), QStringLiteral("ok"));
}
