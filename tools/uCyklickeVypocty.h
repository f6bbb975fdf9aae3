// Sums and products of an expression over an integer index range: the loop,
// and the checks the sum window makes before it (the index name, the bounds,
// the variables, the size of the range).
#pragma once

#include "uIndexovanyVyraz.h"
#include "uSpolocne.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;
class TMainWindowLink;

// Upper minus lower bound must stay below NajviacIndexov; from
// OtazkaOdIndexov on the user is asked first.
constexpr qint64 NajviacIndexov = 3000;
constexpr qint64 OtazkaOdIndexov = 1000;

// The longest bound the window takes (its edits hold 9 characters).
constexpr int NajdlhsiaHranica = 9;

class TCyklickeVypocty {
public:
    // How the expression is prepared for its index; by default the engine
    // compiles it with the main window's evaluation context (taken at
    // Priprav).
    using TPriprava = std::function<std::unique_ptr<TIndexovanyVyraz>(const QString &, const QString &)>;

    explicit TCyklickeVypocty(TPriprava priprava = {});

    // The expression as last set ("0" for an empty one) and the index name.
    QString Expression = QStringLiteral("0");
    QString VariableName = QStringLiteral("n");

    // The messages, with their built-in texts; the window's language sets
    // them.
    struct TMessages {
        QString DifficultCalculationCaption = QStringLiteral("Dlhý výpočet");
        QString DifficultCalculation = QStringLiteral(
            "Zadaný výpočet bude pravdepodobne trvať dlhší čas (možno aj niekoľko minút). Má sa aj tak vykonať?");
        QString TooDifficultCalculation = QStringLiteral("Zadaný výpočet je príliš časovo náročný.");
        QString InputError = QStringLiteral("Chyba vstupu");
        QString InvalidBound = QStringLiteral("Hranica musí byť celé číslo.");
        QString InvalidVariable = QStringLiteral("Premenná musí byť názov z písmen a číslic, ktorý začína písmenom.");
    };
    TMessages Messages;

    // The index of the next expression set. Takes effect at SetExpression.
    void SetVariable(const QString &name);
    // Prepares text with VariableName as its index; an empty text is "0".
    void SetExpression(const QString &text);

    // The sum or the product of the expression for every index from `from`
    // to `to`: 0 or 1 when from > to. The first index whose evaluation
    // fails stops the loop with its code; a sum or product that leaves the
    // number range gives code 20.
    struct TSucet {
        TChyba Error;
        long double Value = 0;
        // The value in scientific form with up to 30 decimals (the exponent's
        // sign only when negative); empty after an error.
        QString Text;
    };
    TSucet Compute(qint64 from, qint64 to, bool isProduct) const;

    // --- the Calculate button --------------------------------------------

    // What the window holds when Calculate is pressed.
    struct TVstup {
        QString Function; // as the main window handed it over
        QString Index;
        QString Lower;
        QString Upper;
        bool Product = false;
    };
    enum class TKrok {
        Pocitaj,        // checked: compute the range Od..Do
        Vysledok,       // computed: Value is the result
        Chyba,          // Error is to be shown on the main window
        ChybajuHodnoty, // code 15: shown, and the variables window brought up
        Zastavene,      // a field was refused or the user declined: the window stays
    };
    // Which field a refusal is about.
    enum TPole { ZiadnePole = -1, PoleIndex = 0, PoleOd = 1, PoleDo = 2 };
    struct TVystup {
        TKrok Krok = TKrok::Zastavene;
        TChyba Error;
        long double Value = 0;
        qint64 Od = 0;
        qint64 Do = 0;
        TPole Pole = ZiadnePole;
    };

    // Everything before the loop, in this order: the index name (a name of
    // letters and digits that starts with a letter and is no function or
    // word operator), the two bounds (an optional "-" and up to nine
    // digits), the variables of the function other than the index (main
    // adds their missing rows and checks their values: 15, 17 and 31 stop),
    // and the size of the range (3000 values and more are refused, from
    // 1000 on the user is asked). Refusals and the question are boxes of
    // the application's prompter over parent.
    TVystup Priprav(const TVstup &vstup, TMainWindowLink &main, QWidget *parent);
    // The loop over the range that Priprav let through: the index taken,
    // the function prepared and computed.
    TVystup Pocitaj(const TVstup &vstup, qint64 od, qint64 po);

private:
    TPriprava m_priprava;
    std::unique_ptr<TIndexovanyVyraz> m_prepared;
    TEvaluationContext m_context; // the main window's, as Priprav found it
};

// True when name can be the index: letters and digits, a letter first, and
// neither a function name nor a word operator.
bool JeNazovIndexu(const QString &name);
// Reads a bound: an optional "-" and 1 to NajdlhsiaHranica digits.
bool CitajHranicu(const QString &text, qint64 &value);
