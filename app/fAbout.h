// The about box: the program's name, version and date, the maker's home
// page and contact address as links, and a picture.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class TLinkLabel;
class TObrazok;

// The program's version as four numbers and the date of that version.
QString ProgramVersionText();
inline constexpr char ProgramVersionDate[] = "2026-01-20";
// The maker's addresses shown in the about box.
inline constexpr char MakersHomePage[] = "https://tarbelon.example/";
inline constexpr char MakersContact[] = "info@tarbelon.example";

class ToProgrameFrm : public QWidget {
    Q_OBJECT
public:
    explicit ToProgrameFrm(QWidget *parent = nullptr);

    void ApplyLanguage();

private:
    void FormCreate();

    TObrazok *obrazokImg;
    QLabel *nadpisLbl;
    QLabel *verziaTitulokLbl;
    QLabel *verziaLbl;
    QLabel *datumVerzieTitulokLbl;
    QLabel *datumVerzieLbl;
    QLabel *strankaTitulokLbl;
    TLinkLabel *strankaLbl;
    QLabel *kontaktTitulokLbl;
    TLinkLabel *kontaktLbl;
    QLabel *patickaLbl;
    QPushButton *okBtn;
};
