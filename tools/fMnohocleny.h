// The polynomial window: two polynomials P and Q, their sum, difference,
// product, quotient with remainder, the power P^n and the Horner scheme of Q
// at a point m, drawn in mathematical notation.
#pragma once

#include "uPolynomy.h"
#include "uSpolocne.h"

#include <QFontMetrics>
#include <QHash>
#include <QList>
#include <QWidget>
#include <map>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;

// A drawing made of texts and lines. It paints only what is exposed, so a
// long result or a large table needs no bitmap of its size; what was drawn
// can be read back.
class TPlatnoMnohoclena : public QWidget {
    Q_OBJECT
public:
    struct TText {
        QString Text;
        QRect Rect; // where it stands: its top left corner, its width and height
        int Height; // font height in pixels
        bool Bold;
    };

    explicit TPlatnoMnohoclena(QWidget *parent = nullptr);

    // Nothing drawn, the drawing 10 x 35 pixels.
    void Clear();
    int TextWidth(const QString &text, int height, bool bold = false) const;
    int LineHeight(int height, bool bold = false) const;
    // Draws text with its top left corner at (x, y) and returns its width;
    // the drawing grows to hold it.
    int DrawText(int x, int y, const QString &text, int height, bool bold = false);
    // The same, with the text ending at x = right.
    void DrawTextRight(int right, int y, const QString &text, int height, bool bold = false);
    void DrawLine(const QPoint &from, const QPoint &to);
    // Grows the drawing to at least width x height.
    void Reserve(int width, int height);

    const QList<TText> &Texts() const { return m_texts; }
    const QList<QLine> &Lines() const { return m_lines; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct TFontData {
        QFontMetrics Metrics;
        QHash<QString, int> Widths; // a long result repeats its pieces
    };
    QFont FontOf(int height, bool bold) const;
    TFontData &FontData(int height, bool bold) const;
    // Grows the drawing to hold a piece; the widget takes its new size once
    // the drawing is done (a size per piece would lay out its parent again
    // for every piece).
    void Extend(int width, int height);
    void Fit();

    QList<TText> m_texts;
    QList<QLine> m_lines;
    QSize m_size;
    bool m_fitPending = false;
    mutable std::map<std::pair<int, bool>, TFontData> m_fonts;
};

class TmnohoclenyFrm : public QWidget {
    Q_OBJECT
public:
    // A window of its own (of parent, when given), centred on the screen.
    explicit TmnohoclenyFrm(QWidget *parent = nullptr);

    // The built-in texts, then those of the loaded language file.
    void ApplyLanguage();

private:
    bool eventFilter(QObject *watched, QEvent *event) override;

    void pEdtChange(QLineEdit *edit);
    void mocnina1BtnClick(QLineEdit *edit);
    void vymenaBtnClick();
    void scitanieBtnClick();
    void odcitanieBtnClick();
    void nasobenieBtnClick();
    void delenieBtnClick();
    void umocniPBtnClick();
    void hornerBtnClick();

    // Runs a command: a refused operation shows its message.
    template <class F>
    void Guarded(F &&command);
    QChar Separator() const;
    // Parses text into polynomial with a variable list of its own.
    void ParseAlone(TPolynom &polynomial, const QString &text);
    // False, with the edit marked and the message shown, when the edit's
    // text is no polynomial; name is P or Q.
    bool CheckNotation(QLineEdit *edit, const QString &name);
    // Checks both texts and parses P, then Q with P's variables.
    bool ValidateAndParse(int limit);
    // P + Q or P - Q into R.
    void AddOrSubtract(bool subtract);
    void ShowError(const QString &text, const QString &arg1 = QString(), const QString &arg2 = QString());
    void ShowErrorCode(TErrorCode code);
    void ShowModelError(const EPolynom &error);
    void ShowResult(const QString &op, const TPolynom *remainder = nullptr);
    void SetFailed(QLineEdit *edit, bool failed);
    void ClearImage();
    void RestoreResultLayout();
    // Draws the polynomial after the prefix, starting at x.
    void DrawPolynomial(const TPolynom &polynomial, int &x, const QString &prefix);
    void DrawPowerHeading(int &x, const QString &heading);
    void DrawHornerScheme(const THornerSchema &schema, const QString &point);

    TPolynom P, Q, R;

    QGroupBox *pGpb;
    QLineEdit *pEdt;
    QPushButton *kopirovatVysledokDoPBtn;
    QPushButton *mocnina1Btn;
    QLabel *nLbl;
    QSpinBox *UpDown1;
    QLineEdit *exponentEdt;
    QPushButton *umocniPBtn;
    QGroupBox *qGpb;
    QLineEdit *qEdt;
    QPushButton *kopirovatVysledokDoQBtn;
    QPushButton *mocnina2Btn;
    QPushButton *hornerBtn;
    QLabel *mLbl;
    QLineEdit *bodEdt;
    QGroupBox *vysGpb;
    QLineEdit *vysEdt;
    QScrollArea *vysScb;
    TPlatnoMnohoclena *vysImg;
    QLabel *chybaLbl;
    QPushButton *scitanieBtn;
    QPushButton *odcitanieBtn;
    QPushButton *nasobenieBtn;
    QPushButton *delenieBtn;
    QPushButton *vymenaBtn;

    // The messages, with their built-in texts; the language file sets them.
    struct TTexts {
        QString errDivisionByZero = QStringLiteral("Nepovolená operácia: Delenie nulou.");
        QString errMaxVariables = QStringLiteral("Vo výraze #1 môže byť najviac #2 premenných.");
        QString errMaxVariablesTogether = QStringLiteral("V oboch výrazoch môže byť spolu najviac #1 premenných.");
        QString errMax1Variable = QStringLiteral("Vo výraze #1 môže byť najviac jedna premenná.");
        QString errIncorrectNotation = QStringLiteral("Chyba v zápise výrazu #1.");
        QString IncorrectValue = QStringLiteral("Nesprávne zadaná hodnota.");
        QString errMaxDegreeForHornerScheme =
            QStringLiteral("Pre výpočet Hornerovej schémy musí byť stupeň polynóm #1 maximálne #2.");
        QString errNegativeIndexes =
            QStringLiteral("Pre výpočet Hornerovej schémy nesmie mať polynóm #1 záporné indexy.");
        QString reminder = QStringLiteral("zvyšok:");
        QString errExponentRange = QStringLiteral("Exponent musí byť z rozsahu -32768 až 32767.");
        QString errTooManyTerms = QStringLiteral("Výsledok by mal viac ako #1 členov.");
        QString errTooMuchWork = QStringLiteral("Výpočet by vyžadoval viac ako #1 krokov.");
        QString errDivisorLeadingTerm =
            QStringLiteral("Najvyšší člen deliteľa #1 podľa premennej #2 musí byť jediný a bez inej premennej.");
    };
    TTexts m_texts;
};
