// The shipped English language file translates every text of the
// statistics, combinatorics and rule-of-three windows, and the windows make
// room for it.
#include "../app/AppTestSupport.h"
#include "fStatistika.h"
#include "fTrojclenka.h"
#include "kombinatorika.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>

namespace {

// The texts of the window and of its named labels, buttons and group boxes.
QStringList NamedTexts(const QWidget &window) {
    QStringList texts{window.windowTitle()};
    for (const QWidget *w : window.findChildren<QWidget *>()) {
        if (w->objectName().isEmpty())
            continue;
        if (auto *label = qobject_cast<const QLabel *>(w); label && !label->text().isEmpty())
            texts.append(label->text());
        else if (auto *button = qobject_cast<const QAbstractButton *>(w))
            texts.append(button->text());
        else if (auto *box = qobject_cast<const QGroupBox *>(w))
            texts.append(box->title());
    }
    return texts;
}

} // namespace

class EnglishTextsTest : public AppTest {};

TEST_F(EnglishTextsTest, EveryTextAndMessageIsReplaced) {
    QDir().mkpath(Path("lang"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TARBELON_SOURCE_DIR "/resources/lang/english.txt"), Path("lang/english.txt")));
    TstatistikaFrm statistika;
    TkombinatorikaFrm kombinatorika;
    TtrojclenkaFrm trojclenka;
    const QList<QWidget *> windows{&statistika, &kombinatorika, &trojclenka};
    QList<QStringList> before;
    for (QWidget *w : windows)
        before.append(NamedTexts(*w));
    const TStatistika::TMessages s = statistika.Model().Messages;
    const TKombinatorika k = kombinatorika.Model();
    const TTrojclenka t = trojclenka.Model();

    ASSERT_TRUE(LoadLanguageFile("lang\\english.txt"));
    statistika.ApplyLanguage();
    kombinatorika.ApplyLanguage();
    trojclenka.ApplyLanguage();
    for (int i = 0; i < windows.size(); ++i) {
        const QStringList after = NamedTexts(*windows.at(i));
        ASSERT_EQ(after.size(), before.at(i).size());
        for (int j = 0; j < after.size(); ++j)
            EXPECT_NE(S(after.at(j)), S(before.at(i).at(j))) << S(windows.at(i)->objectName());
        // The windows make room for the longer texts.
        windows.at(i)->show();
        QApplication::processEvents();
        for (const QWidget *w : windows.at(i)->findChildren<QWidget *>()) {
            if (!w->objectName().isEmpty() && (qobject_cast<const QLabel *>(w) || qobject_cast<const QAbstractButton *>(w))) {
                EXPECT_GE(w->width(), w->sizeHint().width()) << S(w->objectName());
            }
        }
    }
    const TStatistika::TMessages &s2 = statistika.Model().Messages;
    for (const auto &[old, now] : {std::pair{s.InputError, s2.InputError}, {s.IncorrectValue, s2.IncorrectValue},
                                   {s.EmptyList, s2.EmptyList}, {s.ZeroWeight, s2.ZeroWeight},
                                   {s.OutOfRange, s2.OutOfRange}, {k.KNotEntered, kombinatorika.Model().KNotEntered},
                                   {k.NNotEntered, kombinatorika.Model().NNotEntered},
                                   {k.InvalidInput, kombinatorika.Model().InvalidInput},
                                   {t.ValueNotEntered, trojclenka.Model().ValueNotEntered},
                                   {t.InvalidInput, trojclenka.Model().InvalidInput}})
        EXPECT_NE(S(now), S(old));
}
