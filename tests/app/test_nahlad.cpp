// The expression preview window.
#include "AppTestSupport.h"
#include "fNahladVyrazu.h"

#include <QImage>
#include <QScrollArea>
#include <QScrollBar>

namespace {

int Ink(const QImage &image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 128;
    return n;
}

} // namespace

TEST(PreviewPlacement, LeftOfTheMainWindowFirstThenRight) {
    const QSize window(220, 130);
    struct Case {
        QRect master;
        bool placed;
        QPoint expected;
    };
    const Case cases[] = {
        {QRect(300, 50, 400, 300), true, QPoint(80, 50)},   // room on the left
        {QRect(220, 60, 400, 300), true, QPoint(620, 60)},  // left 220 is not > 220: right
        {QRect(100, 60, 959, 300), true, QPoint(1059, 60)}, // right edge 1059 < 1280 - 220
        {QRect(100, 60, 960, 300), false, QPoint()},        // 1060 is not
    };
    for (const Case &c : cases) {
        QPoint at;
        EXPECT_EQ(PlacePreviewBeside(c.master, window, 1280, at), c.placed) << c.master.x();
        if (c.placed) {
            EXPECT_EQ(at, c.expected) << c.master.x();
        }
    }
}

class NahladTest : public AppTest {
protected:
    TFakeMainWindow Main;

    // The size the picture takes for text: its drawing plus 5 on each side.
    static QSize DrawnSize(QWidget *picture, const QString &text) {
        TPlatno canvas(picture);
        canvas.SetFontName(PreviewFontName);
        TGrafickyVyraz tree(text, nullptr, 5, 5, 16);
        tree.Measure(canvas);
        return QSize(tree.GetWidth() + 10, tree.GetHeight() + 10);
    }
};

TEST_F(NahladTest, RedrawSizesThePictureAndDrawsWhatTheTreeCannotTakeAsQuestionMarks) {
    TnahladVyrazuFrm w(&Main);
    QWidget *picture = Find<QWidget>(w, "Image1");
    ASSERT_NE(picture, nullptr);
    struct Case {
        QString text;
        QString drawn;
    };
    const Case cases[] = {
        {"1/2+x^2", "1/2+x^2"},
        {"x+", "???"},
    };
    for (const Case &c : cases) {
        w.SetExpression(c.text);
        w.Redraw();
        ASSERT_NE(w.Tree(), nullptr);
        EXPECT_EQ(picture->size(), DrawnSize(picture, c.drawn)) << S(c.drawn);
        EXPECT_GT(Ink(picture->grab().toImage()), 0) << S(c.drawn);
    }
    EXPECT_EQ(S(w.Tree()->Text), "???");
    // An empty text keeps the last drawing.
    const TGrafickyVyraz *last = w.Tree();
    const QSize size = picture->size();
    w.SetExpression("");
    w.Redraw();
    EXPECT_EQ(w.Tree(), last);
    EXPECT_EQ(picture->size(), size);
}

TEST_F(NahladTest, DrawingWiderThanAnyScreenScrolls) {
    TnahladVyrazuFrm w(&Main);
    QWidget *picture = Find<QWidget>(w, "Image1");
    auto *scroll = Find<QScrollArea>(w, "ScrollBox1");
    ASSERT_TRUE(picture && scroll);
    // A long name, and a sum of 30,000 terms (a chain of nodes as deep as it
    // is long).
    QString sum = "x";
    for (int i = 1; i < 30000; ++i)
        sum += "+x";
    w.show();
    for (const QString &text : {QString(4000, 'w'), sum}) {
        w.SetExpression(text);
        w.Redraw();
        EXPECT_NE(S(w.Tree()->Text), "???");
        EXPECT_GT(picture->width(), 32767);
        EXPECT_EQ(picture->size(), DrawnSize(picture, text));
        scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->maximum());
        EXPECT_GT(Ink(scroll->viewport()->grab().toImage()), 0);
    }
}

TEST_F(NahladTest, CreationSnapsBesideTheMainWindowAndTakesTheLanguage) {
    Main.Frame.setGeometry(700, 120, 300, 200);
    WriteBytes(Path("lang/l.txt"), "[ExpressionPreviewForm]\r\nCaption=Expression preview\r\n");
    ASSERT_TRUE(LoadLanguageFile("lang\\l.txt"));
    TnahladVyrazuFrm w(&Main);
    EXPECT_EQ(w.Master(), &Main.Frame);
    EXPECT_EQ(w.SnapDistance(), 5);
    EXPECT_EQ(w.frameGeometry().topLeft(), QPoint(700 - w.frameGeometry().width(), 120));
    EXPECT_EQ(S(w.windowTitle()), "Expression preview");
}
