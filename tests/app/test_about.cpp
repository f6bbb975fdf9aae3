// The about box: its texts, its links and its language.
#include "AppTestSupport.h"
#include "fAbout.h"
#include "uOvladace.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class AboutTest : public AppTest {
protected:
    QColor Colour(QLabel *label) { return label->palette().color(QPalette::WindowText); }
};

TEST_F(AboutTest, ShowsTheVersionThePictureAndOpensItsLinks) {
    ToProgrameFrm about;
    EXPECT_EQ(S(about.windowTitle()), "Tarbelon - O programe");
    EXPECT_EQ(about.size(), QSize(434, 318));
    EXPECT_EQ(S(Find<QLabel>(about, "verziaLbl")->text()), S(ProgramVersionText()));
    EXPECT_EQ(ProgramVersionText().split('.').size(), 4);
    EXPECT_EQ(S(Find<QLabel>(about, "datumVerzieLbl")->text()), ProgramVersionDate);
    EXPECT_EQ(Find<TObrazok>(about, "obrazokImg")->Image().size(), QSize(169, 318));

    struct Case {
        const char *label;
        const char *opened;
    };
    const Case cases[] = {{"strankaLbl", MakersHomePage}, {"kontaktLbl", "mailto:info@tarbelon.example"}};
    for (const Case &c : cases) {
        auto *link = Find<QLabel>(about, c.label);
        EXPECT_EQ(Colour(link), QColor(0, 0, 128)) << c.label;
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(link, &enter);
        EXPECT_EQ(Colour(link), QColor(0, 0, 255)) << c.label;
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        EXPECT_EQ(Colour(link), QColor(0, 0, 128)) << c.label;
        OpenedUrls.clear();
        QTest::mouseClick(link, Qt::LeftButton);
        ASSERT_EQ(OpenedUrls.size(), 1) << c.label;
        EXPECT_EQ(S(OpenedUrls[0].toString()), c.opened);
    }
    about.show();
    QTest::mouseClick(Find<QPushButton>(about, "okBtn"), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(AboutTest, TheLanguageChangesTheTitlesButNotTheVersionOrTheAddresses) {
    WriteBytes(Path("lang/t.txt"), "[AboutForm]\r\nCaption=About it\r\nVersion=Version:\r\nContact=<b>Mail</b>\r\n");
    ASSERT_TRUE(LoadLanguageFile(QStringLiteral("lang\\t.txt")));
    ToProgrameFrm about;
    EXPECT_EQ(S(about.windowTitle()), "About it");
    EXPECT_EQ(S(Find<QLabel>(about, "verziaTitulokLbl")->text()), "Version:");
    EXPECT_EQ(S(Find<QLabel>(about, "datumVerzieTitulokLbl")->text()), "dátum verzie:");
    EXPECT_EQ(S(Find<QLabel>(about, "verziaLbl")->text()), S(ProgramVersionText()));
    EXPECT_EQ(S(Find<QLabel>(about, "strankaLbl")->text()), MakersHomePage);
    // A language text is shown as it stands, never as markup.
    EXPECT_EQ(Find<QLabel>(about, "kontaktTitulokLbl")->textFormat(), Qt::PlainText);
}
