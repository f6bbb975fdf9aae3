#include "uChyby.h"

#include "Analyzator.h"
#include "uDisk.h"

#include <array>

namespace {

// Indexed by the code; entry 0 is the empty text of "no error".
const std::array<const char16_t *, MaxErrorCode + 1> BuiltInTexts = {
    u"",
    u"Neplatný zápis výrazu.",
    u"Výraz nemôže začínať operátorom.",
    u"Výraz nemôže končiť operátorom.",
    u"Výraz nemôže končiť desatinnou čiarkou.",
    u"Dva operátory nemôžu byť vedľa seba.",
    u"Za čiarkou musí nasledovať číslica.",
    u"Za operátorom musí nasledovať konštanta, premenná alebo funkcia.",
    u"Pred operátorom musí byť konštanta, premenná alebo funkcia.",
    u"Prázdne zátvorky.",
    u"Nesprávne použitá uzatváracia zátvorka.",
    u"Neuzavretá zátvorka.",
    u"Funkcia \"#1\" nemá zadaný parameter.",
    u"Tento operátor nemožno použiť nad zadanou množinou.",
    u"Túto funkciu nemožno použiť nad zadanou číselnou množinou.",
    u"Nie sú zadané všetky premenné.",
    u"Nepovolený znak.",
    u"Hodnota premennej \"#1\" nepatrí do zadanej množiny.",
    u"Nezadaná konštanta.",
    u"Neznáma konštanta \"#1\".",
    u"Chyba výpočtu: Príliš vysoké číslo.",
    u"Nepovolená operácia: Odmocnina zo záporného čísla.",
    u"Parameter \"#1\" nepatrí do definičného oboru funkcie \"#2\".",
    u"Chyba výpočtu: Príliš vysoké číslo v parametri funkcie \"#1\".",
    u"Chyba výpočtu: Faktorál možno počítať len z prirodzených čísel.",
    u"Nepovolená operácia: Delenie nulou.",
    u"Chyba pri prevádzaní niektorých čísel.",
    u"Vstup operácie \"#1\" musí byť celé číslo.",
    u"V operácii \"nad\" musí byť prvé číslo (n) väčšie ako druhé (k).",
    u"Pri výpočte sa vyskytla neznáma chyba.",
    u"Pred desatinnou čiarkou musí byť číslica.",
    u"Nesprávne zadaná hodnota premennej \"#1\".",
    u"Nesprávny zápis komplexného čísla.",
    u"You must enter a function.",
    u"You must enter an expression.",
};

} // namespace

QString BuiltInErrorText(quint8 code) {
    return code <= MaxErrorCode ? QString::fromUtf16(BuiltInTexts[code]) : QString();
}

QString ErrorMessage(const TChyba &err) {
    const int code = CodeNumber(err.Code);
    const QString text = LanguageText(QStringLiteral("ErrorMessages"), QStringLiteral("err") + QString::number(code),
                                      BuiltInErrorText(quint8(code)));
    return FillPlaceholder(FillPlaceholder(text, QLatin1String("#1"), err.Param1), QLatin1String("#2"), err.Param2);
}

QString FillPlaceholder(QString text, QLatin1String placeholder, const QString &value) {
    const qsizetype at = text.indexOf(placeholder);
    if (at >= 0)
        text.replace(at, placeholder.size(), value);
    return text;
}
