// The about box: its picture and its links.
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

TEST_F(AboutTest, ShowsThePictureAndOpensItsLinks) {
    ToProgrameFrm about;
    EXPECT_EQ(Find<TObrazok>(about, "obrazokImg")->Image().size(), QSize(169, 318)); // the built-in picture

    struct Case {
        const char *label, *opened;
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
    // Without a mail program the address is named in a message.
    AppContext().OpenUrl = [](const QUrl &) { return false; };
    QTest::mouseClick(Find<QLabel>(about, "kontaktLbl"), Qt::LeftButton);
    ASSERT_EQ(Prompter->Shown.size(), 1);
    EXPECT_EQ(S(Prompter->Shown[0].Text),
              S(QStringLiteral("Nepodarilo sa otvoriť adresu alebo súbor \"mailto:info@tarbelon.example\".")));
    about.show();
    QTest::mouseClick(Find<QPushButton>(about, "okBtn"), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}
