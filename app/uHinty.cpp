#include "uHinty.h"

#include "uIniFile.h"

#include <QMetaObject>
#include <QThread>

const QList<THintRow> &HintRows() {
    static const QList<THintRow> rows = {
        {"hntRealNum", "sbRealne", "Výpočet nad množinou reálnych čísel"},
        {"hntComplexNum", "sbKomplexne", "Výpočet nad množinou komplexných čísel"},
        {"hntModuloNum", "sbModulo", "Výpočet nad množinou zvyškových tried"},
        {"hntModuloBase", "UpDownModulo", "Základ množiny zvyškových tried"},
        {"hntSwitchToDeg", "sbDeg", "Stupne"},
        {"hntSwitchToRad", "sbRad", "Radiány"},
        {"hntSwitchToGrad", "sbGrad", "Grady"},
        {"hntSwitchToHex", "sbHex", "Výpočet v šestnástkovej sústave"},
        {"hntSwitchToDec", "sbDec", "Výpočet v desiatkovej sústave"},
        {"hntSwitchToOct", "sbOct", "Výpočet v osmičkovej sústave"},
        {"hntSwitchToBin", "sbBin", "Výpočet v dvojkovej sústave"},
        {"hntShrinkWin", "BtnVelkost", "Zmenšiť okno"},
        {"hntShowExpressionPreview", "nahladImg", "Zobraziť náhľad výrazu"},
        {"hntEnterExpressionHere", "vstupRdt", "Sem napíšte výraz"},
        {"hntMemory", "LabelPamat", "Pamäť"},
        {"hntResult", "vysledokEdt", "Výsledok výpočtu"},
        {"hntResult", "Shape1", "Výsledok výpočtu"},
        {"hntHyp", "CheckBoxHyp", "Použiť hyperbolickú funkciu"},
        {"hntFrac", "CheckBoxZlomky", "Počítať v zlomkoch"},
        {"hntDerivative", "derivaciaBtn", "Function derivative"},
        {"hntSum", "sumaBtn", "Súčet / súčin radu"},
        {"hntGraph", "grafBtn", "Vykresliť graf zadanej funkcie"},
        {"hntDec", "EditDesM", "Počet desatinných miest výsledku"},
        {"hntDec", "UpDownDesM", "Počet desatinných miest výsledku"},
        {"hntBack", "BtnSpat", "Predchádzajúci výpočet"},
        {"hntCE", "BtnCE", "Vymazať vyznačené časti výrazu ( alebo celý výraz )"},
        {"hntC", "BtnC", "Zmazať celý výraz aj výsledok"},
        {"hntSin", "BtnSin", "Sínus uhla"},
        {"hntCos", "BtnCos", "Kosínus uhla"},
        {"hntTg", "BtnTG", "Tangens uhla"},
        {"hntCotg", "BtnCotg", "Kotangens uhla"},
        {"hntDms", "BtnDms", "Prevod uhla na stupne, minúty a sekundy"},
        {"hntArcsin", "BtnArcsin", "Arkussínus uhla"},
        {"hntArccos", "BtnArccos", "Arkuskosínus uhla"},
        {"hntArctg", "Btnarctg", "Arkustangens uhla"},
        {"hntArcCotg", "BtnArccotg", "Arkuskotanges uhla"},
        {"hntDeg", "BtnDeg", "Prevod uhla na stupne ( desatinný tvar )"},
        {"hntLogy", "BtnLogy", "Logaritmus pri základe y"},
        {"hntEToX", "BtnEnaX", "Eulerovo číslo na x-tú"},
        {"hntSquareRoot", "BtnDruhaOdmocnina", "Druhá odmocnina"},
        {"hntCubeRoot", "BtnTretiaOdmocnina", "Tretia odmocnina"},
        {"hntRoot", "BtnOdmocnina", "Y - ta odmocnina"},
        {"hntLog", "BtnLog", "Dekadický logaritmus"},
        {"hntLn", "BtnLn", "Prirodzený logaritmus"},
        {"hntX2", "BtnXna2", "Druhá mocnina"},
        {"hntX3", "BtnXna3", "Tretia mocnina"},
        {"hntXY", "BtnXnaY", "Y - ta mocnina"},
        {"hntInv", "BtnPrevratena", "Prevrátená hodnota"},
        {"hntFact", "BtnFaktorial", "Faktoriál"},
        {"hnt10x", "BtnDesatNaX", "10 na x-tú"},
        {"hntRan", "BtnRan", "Vložiť náhodné číslo"},
        {"hntAE", "BtnAE", "Prevod medzi algebraickým a exponenciálnym tvarom komplexného čísla"},
        {"hntAbs", "BtnAbs", "Absolútna hodnota"},
        {"hntNK", "BtnKombinacne", "Kombinačné číslo ( n nad k )"},
        {"hnt2X", "BtnDvaNaX", "2 na x-tú"},
        {"hntAns", "BtnANS", "Vložiť posledný výsledok"},
        {"hntConst", "BtnKonstanta", "Vložiť konštantu"},
        {"hntBr", "BitBtn44", "Vložť ľavú zátvorku"},
        {"hntPlusJ", "BitBtn49", "Vložť imaginárnu časť komplexného čísla"},
        {"hntEJ", "BitBtn51", "Vložť exponent komplexného čísla"},
        {"hntMS", "BtnMS", "Uložiť výsledok do pamäte"},
        {"hntPi", "BtnPi", "Vložť ludolfovo číslo"},
        {"hntBr", "BitBtn45", "Vložť pravú zátvorku"},
        {"hntPlusJ", "BitBtn50", "Vložť imaginárnu časť komplexného čísla"},
        {"hntEJ", "BitBtn52", "Vložť exponent komplexného čísla"},
        {"hntMR", "BtnMR", "Vyvolať číslo z pamäte"},
        {"hntChar", "BitBtn7", "Vložiť tento znak"},
        {"hntChar", "BitBtn4", "Vložiť tento znak"},
        {"hntChar", "BitBtn1", "Vložiť tento znak"},
        {"hntChar", "BitBtn10", "Vložiť tento znak"},
        {"hntChar", "BitBtn38", "Vložiť tento znak"},
        {"hntChar", "BitBtn8", "Vložiť tento znak"},
        {"hntChar", "BitBtn5", "Vložiť tento znak"},
        {"hntChar", "BitBtn2", "Vložiť tento znak"},
        {"hntDecimalPoint", "BtnCiarka", "Vložiť desatinnú čiarku"},
        {"hntChar", "BitBtn40", "Vložiť tento znak"},
        {"hntChar", "BitBtn9", "Vložiť tento znak"},
        {"hntChar", "BitBtn6", "Vložiť tento znak"},
        {"hntChar", "BitBtn3", "Vložiť tento znak"},
        {"hntPercent", "BtnPercenta", "Percentá"},
        {"hntChar", "BitBtn41", "Vložiť tento znak"},
        {"hntChar", "BitBtn42", "Vložiť tento znak"},
        {"hntChar", "BitBtn43", "Vložiť tento znak"},
        // The letter A is a key like the other five letters.
        {"hntChar", "BitBtn39", "Vložiť tento znak"},
        {"hntDivision", "BtnDeleno", "Delenie"},
        {"hntMultiplication", "BtnKrat", "Násobenie"},
        {"hntSubtraction", "BtnMinus", "Odčítanie"},
        {"hntAddition", "BtnPlus", "Sčítanie"},
        {"hntDel", "BtnJednoZmaz", "Zmazať"},
        {"hntDiv", "BtnDiv", "Celočíselné delenie"},
        {"hntMod", "BtnMod", "Zvyšok po celočíselnom delení"},
        {"hntEvaluate", "BtnRovnaSa", "Vyhodnotiť výraz"},
    };
    return rows;
}

QList<THint> TranslateHints(const TIniFile &language) {
    const QString section = QStringLiteral("Hints");
    QList<THint> hints;
    for (const THintRow &row : HintRows()) {
        const QString key = QLatin1String(row.Key);
        if (language.ValueExists(section, key))
            hints.append({QLatin1String(row.Control), language.ReadString(section, key, QString())});
    }
    return hints;
}

QThread *StartHintTranslation(std::shared_ptr<const TIniFile> language, QObject *receiver,
                              std::function<void(const THint &)> setHint) {
    if (!language || !receiver)
        return nullptr;
    QThread *thread = QThread::create([language, receiver, setHint] {
        // Only the lookups run here; each hint is set on the receiver's
        // thread. The receiver waits for this thread before it goes away.
        for (const THint &hint : TranslateHints(*language))
            QMetaObject::invokeMethod(
                receiver, [setHint, hint] { setHint(hint); }, Qt::QueuedConnection);
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return thread;
}
