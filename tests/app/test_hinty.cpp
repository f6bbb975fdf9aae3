// The hints of the main window's controls from a language file.
#include "AppTestSupport.h"
#include "uHinty.h"
#include "uIniFile.h"

#include <QSet>

TEST(Hints, OnlyTheKeysTheFileHoldsGiveHintsInTheTablesOrder) {
    EXPECT_TRUE(TranslateHints(TIniFile::FromText("[Info]\nLanguageName=X\n")).isEmpty());

    const QList<THint> onlyC = TranslateHints(TIniFile::FromText("[Hints]\nhntC=Clear all\n"));
    ASSERT_EQ(onlyC.size(), 1);
    EXPECT_EQ(S(onlyC[0].Control), "BtnC");
    EXPECT_EQ(S(onlyC[0].Text), "Clear all");

    // One key, every control of it; case of the key does not matter.
    const QList<THint> brackets = TranslateHints(TIniFile::FromText("[hints]\nHNTBR=Bracket\nhntResult=\n"));
    QStringList controls;
    for (const THint &h : brackets)
        controls << h.Control + "=" + h.Text;
    EXPECT_EQ(controls, QStringList({"vysledokEdt=", "Shape1=", "BitBtn44=Bracket", "BitBtn45=Bracket"}));
}

TEST(Hints, EveryControlHasOneRowWithABuiltInHint) {
    QSet<QString> controls;
    for (const THintRow &row : HintRows()) {
        EXPECT_FALSE(controls.contains(QLatin1String(row.Control))) << row.Control;
        controls.insert(QLatin1String(row.Control));
        EXPECT_TRUE(QLatin1String(row.Key).startsWith(QLatin1String("hnt"))) << row.Key;
        EXPECT_FALSE(QString::fromUtf8(row.BuiltIn).isEmpty()) << row.Control;
    }
}
