// The shipped language files on the polynomial, statistics, combinatorics and
// rule-of-three windows: English replaces every text and message and the
// windows make room for it; a file without the keys keeps the texts but
// brings the built-in messages back; Slovak gives back the built-in texts.
#include "../app/AppTestSupport.h"
#include "fMnohocleny.h"
#include "fStatistika.h"
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
    TstatistikaFrm Statistika;
    TkombinatorikaFrm Kombinatorika;
    TtrojclenkaFrm Trojclenka;
    TmnohoclenyFrm Mnohocleny;
    const QList<QWidget *> Windows{&Statistika, &Kombinatorika, &Trojclenka, &Mnohocleny};

    void Apply(const char *file) {
        ASSERT_TRUE(LoadLanguageFile(QStringLiteral("lang\\") + file));
        Statistika.ApplyLanguage();
        Kombinatorika.ApplyLanguage();
        Trojclenka.ApplyLanguage();
        Mnohocleny.ApplyLanguage();
    }
    // Every message of the windows; the polynomial window's as a division
    // shows them: by zero, then with a remainder.
    QStringList Messages() {
        const TStatistika::TMessages &s = Statistika.Model().Messages;
        const TKombinatorika &k = Kombinatorika.Model();
        const TTrojclenka &t = Trojclenka.Model();
        QStringList all{s.InputError, s.IncorrectValue, s.EmptyList, s.ZeroWeight, s.OutOfRange, k.KNotEntered,
                        k.NNotEntered, k.InvalidInput, t.ValueNotEntered, t.InvalidInput};
        for (const char *q : {"", "x^2"}) {
            Find<QLineEdit>(Mnohocleny, "qEdt")->setText(q);
            Find<QAbstractButton>(Mnohocleny, "delenieBtn")->click();
            all.append(Find<QLabel>(Mnohocleny, "chybaLbl")->text());
            for (const TPlatnoMnohoclena::TText &text : Find<TPlatnoMnohoclena>(Mnohocleny, "vysImg")->Texts())
                all.last() += text.Text;
        }
        return all;
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
        for (int j = 0; j < (Windows.at(i) == &Mnohocleny ? 1 : english.at(i).size()); ++j) {
            EXPECT_NE(S(english.at(i).at(j)), S(builtIn.at(i).at(j))) << S(Windows.at(i)->objectName());
        }
    }
    const QStringList englishMessages = Messages();
    for (int i = 0; i < builtInMessages.size(); ++i)
        EXPECT_NE(S(englishMessages.at(i)), S(builtInMessages.at(i)));
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

    // A file without the keys keeps the texts; statistics and polynomials
    // take their built-in messages again.
    Apply("empty.txt");
    for (int i = 0; i < Windows.size(); ++i)
        EXPECT_EQ(NamedTexts(*Windows.at(i)), english.at(i));
    const QStringList messages = Messages();
    EXPECT_EQ(messages.mid(0, 5) + messages.mid(10), builtInMessages.mid(0, 5) + builtInMessages.mid(10));

    // Slovak is what the polynomial window has built in.
    Apply("slovak.txt");
    const auto trimmed = [](QStringList texts) {
        for (QString &text : texts)
            text = text.trimmed();
        return texts;
    };
    EXPECT_EQ(trimmed(NamedTexts(Mnohocleny)), trimmed(builtIn.last()));
    EXPECT_EQ(Messages(), builtInMessages);
}
