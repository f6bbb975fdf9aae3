// The shipped language files on the tool windows: English replaces every text
// and message and the windows make room for it; a file without the keys keeps
// the texts but brings some built-in messages back; Slovak gives back the
// built-in texts.
#include "../app/AppTestSupport.h"
#include "fDerivacie.h"
#include "fGrafyFunkcii.h"
#include "fMnohocleny.h"
#include "fStatistika.h"
#include "fSuma.h"
#include "fTrojclenka.h"
#include "kombinatorika.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// The texts of the window and of its named labels, buttons and group boxes
// (a hidden message label aside).
QStringList NamedTexts(const QWidget &window) {
    QStringList texts{window.windowTitle()};
    for (const QWidget *w : window.findChildren<QWidget *>()) {
        if (w->objectName().isEmpty() || w->isHidden())
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

class LanguageFilesTest : public AppTest {
protected:
    TFakeMainWindow Main;
    TstatistikaFrm Statistika;
    TkombinatorikaFrm Kombinatorika;
    TtrojclenkaFrm Trojclenka;
    TmnohoclenyFrm Mnohocleny;
    TsumaFrm Suma{&Main};
    TderivacieFrm Derivacie{&Main};
    TGrafyFunkciiFrm Graf;
    const QList<QWidget *> Windows{&Statistika, &Kombinatorika, &Trojclenka, &Mnohocleny};

    void Apply(const char *file) {
        ASSERT_TRUE(LoadLanguageFile(QStringLiteral("lang\\") + file));
        Statistika.ApplyLanguage();
        Kombinatorika.ApplyLanguage();
        Trojclenka.ApplyLanguage();
        Mnohocleny.ApplyLanguage();
        Suma.ApplyLanguage();
        Derivacie.ApplyLanguage();
        Graf.ApplyLanguage();
    }
    // Every message of the windows: first the eight that a file without the
    // keys takes back to the built-in ones (the polynomial window's as a
    // division shows them, by zero and with a remainder; the derivative's
    // after a failure), then the rest.
    QStringList Messages() {
        const TStatistika::TMessages &s = Statistika.Model().Messages;
        QStringList all{s.InputError, s.IncorrectValue, s.EmptyList, s.ZeroWeight, s.OutOfRange};
        for (const char *q : {"", "x^2"}) {
            Find<QLineEdit>(Mnohocleny, "qEdt")->setText(q);
            Find<QAbstractButton>(Mnohocleny, "delenieBtn")->click();
            all.append(Find<QLabel>(Mnohocleny, "chybaLbl")->text());
            for (const TPlatnoMnohoclena::TText &text : Find<TPlatnoMnohoclena>(Mnohocleny, "vysImg")->Texts())
                all.last() += text.Text;
        }
        Find<QLineEdit>(Derivacie, "funkciaEdt")->setText(QStringLiteral("("));
        Find<QAbstractButton>(Derivacie, "vypocetBtn")->click();
        all.append(Find<QLineEdit>(Derivacie, "vysledokEdt")->text());
        const TKombinatorika &k = Kombinatorika.Model();
        const TTrojclenka &t = Trojclenka.Model();
        const TCyklickeVypocty::TMessages &m = Suma.Model().Messages;
        return all + QStringList{k.KNotEntered,          k.NNotEntered,
                                 k.InvalidInput,         t.ValueNotEntered,
                                 t.InvalidInput,         m.DifficultCalculationCaption,
                                 m.DifficultCalculation, m.TooDifficultCalculation,
                                 m.InputError,           m.InvalidBound,
                                 m.InvalidVariable};
    }
};

TEST_F(LanguageFilesTest, EnglishReplacesEveryTextAndSlovakGivesBackTheBuiltInOnes) {
    for (const char *file : {"english.txt", "slovak.txt"})
        WriteBytes(Path(QStringLiteral("lang/") + file),
                   ReadBytes(QStringLiteral(TARBELON_SOURCE_DIR "/resources/lang/") + file));
    WriteBytes(Path("lang/empty.txt"), "[Info]\r\n");
    QList<QStringList> builtIn, english;
    for (QWidget *w : Windows)
        builtIn.append(NamedTexts(*w));
    const QStringList builtInMessages = Messages();

    Apply("english.txt");
    for (int i = 0; i < Windows.size(); ++i) {
        english.append(NamedTexts(*Windows.at(i)));
        ASSERT_EQ(english.at(i).size(), builtIn.at(i).size());
        // Every text but the signs on the polynomial window's buttons.
        for (int j = 0; j < (Windows.at(i) == &Mnohocleny ? 1 : english.at(i).size()); ++j)
            EXPECT_NE(S(english.at(i).at(j)), S(builtIn.at(i).at(j))) << S(Windows.at(i)->objectName());
    }
    const QStringList englishMessages = Messages();
    for (int i = 0; i < builtInMessages.size(); ++i)
        EXPECT_NE(S(englishMessages.at(i)), S(builtInMessages.at(i))) << i;
    EXPECT_EQ(S(Suma.windowTitle()), "Sum / product of a series");
    EXPECT_EQ(S(Graf.windowTitle()), "Graph of function y = x");
    for (const char *group : {"PohybGpb", "mierkaGpb", "MriezkaGpb"})
        EXPECT_FALSE(Find<QGroupBox>(Graf, group)->title().trimmed().isEmpty()) << group;
    // The windows make room for the longer texts.
    for (QWidget *window : Windows.mid(0, 3)) {
        window->show();
        QApplication::processEvents();
        for (const QWidget *w : window->findChildren<QWidget *>()) {
            const bool text = qobject_cast<const QLabel *>(w) || qobject_cast<const QAbstractButton *>(w);
            EXPECT_TRUE(w->objectName().isEmpty() || !text || w->width() >= w->sizeHint().width())
                << S(window->objectName() + "." + w->objectName());
        }
    }

    // A file without the keys keeps the texts; the graph's caption takes the
    // built-in prefix rather than doubling the function.
    Apply("empty.txt");
    for (int i = 0; i < Windows.size(); ++i)
        EXPECT_EQ(NamedTexts(*Windows.at(i)), english.at(i));
    EXPECT_EQ(Messages().mid(0, 8), builtInMessages.mid(0, 8));
    EXPECT_EQ(S(Graf.windowTitle()), "Graf funkcie y = x");

    // Slovak is what the polynomial window has built in.
    Apply("slovak.txt");
    QStringList slovak = NamedTexts(Mnohocleny), polynomial = builtIn.last();
    for (QStringList *texts : {&slovak, &polynomial})
        for (QString &text : *texts)
            text = text.trimmed();
    EXPECT_EQ(slovak, polynomial);
    EXPECT_EQ(Messages(), builtInMessages);
}
