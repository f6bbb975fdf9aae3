// Where the keyboard goes after the user works in another window or on a
// mode control: back into the main window's input, or into the value the
// calculation waits for.
#include "HlavnyTestSupport.h"

#include <QListWidget>
#include <QTableView>

namespace {

class FocusTest : public HlavnyTest {
protected:
    void SetUp() override {
        HlavnyTest::SetUp();
        W->show();
        Activate(W);
    }
    void Activate(QWidget *window) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 5000));
    }
};

} // namespace

TEST_F(FocusTest, UseLeavesTheMainWindowActiveWithTheInputReadyForMore) {
    Calculate(QStringLiteral("2*3"));
    const QString pi = Konstanty()->Model().Caption(0);
    struct Case {
        QWidget *window;
        const char *list;
        int row;
        QString before, after;
    };
    const Case cases[] = {
        {Konstanty(), "ListView1", 0, QStringLiteral("2*"), "2*" + pi},
        {Historia(), "ListBox1", 0, QStringLiteral("1"), QStringLiteral("2*3")},
    };
    for (const Case &c : cases) {
        Type(c.before);
        c.window->show();
        Activate(c.window);
        auto *list = Find<QAbstractItemView>(*c.window, c.list);
        list->setFocus();
        list->setCurrentIndex(list->model()->index(c.row, 0));
        QTest::mouseClick(Find<QPushButton>(*c.window, "BtnPouzit"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == W; }, 5000)) << c.list;
        EXPECT_EQ(QApplication::focusWidget(), Input()) << c.list;
        EXPECT_EQ(Input()->SelStart(), c.after.size()) << c.list;
        TypeText(W, QStringLiteral("*2"));
        EXPECT_EQ(S(Input()->Text()), S(c.after + "*2")) << c.list;
    }
}

// Whatever cell was current before, the typed value goes to the variable
// the calculation lacks, on the "=" road and on the graph key alike.
TEST_F(FocusTest, TheVariablesWindowWaitsOnTheFirstMissingValue) {
    SetVariable("a", "1");
    struct Case {
        const char *key;
        QString input;
        const char *missing;
    };
    const Case cases[] = {
        {"BtnRovnaSa", QStringLiteral("a+b+c"), "b"},
        {"grafBtn", QStringLiteral("a*x+d+e"), "d"},
    };
    QTableView *editor = Premenne()->Editor();
    for (const Case &c : cases) {
        editor->setCurrentIndex(Premenne()->Model().index(0, 1)); // the value of a, edited last
        Type(c.input);
        QTest::mouseClick(Btn(c.key), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == Premenne(); }, 5000)) << c.key;
        const int row = Premenne()->Model().IndexOfName(QLatin1String(c.missing));
        EXPECT_EQ(editor->currentIndex(), Premenne()->Model().index(row, 1)) << c.key;
        TypeText(editor, QStringLiteral("5"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // the cell takes it after the key
        const QString name = QLatin1String(c.missing);
        EXPECT_TRUE(QTest::qWaitFor([&] { return Premenne()->Model().ValueOf(name) == "5"; }, 5000)) << c.key;
        EXPECT_EQ(S(Premenne()->Model().ValueOf(QStringLiteral("a"))), "1") << c.key;
        Activate(W);
    }
}

// "7", a click on a mode control, "+5": the plus is an operator in the
// input, not the digit 1 of the keys typed outside it.
TEST_F(FocusTest, AClickOnAModeControlLeavesTheKeysToTheInput) {
    for (const char *control : {"CheckBoxZlomky", "CheckBoxHyp", "sbKomplexne", "sbRad", "sbHex"}) {
        Type(QStringLiteral("7"));
        Input()->setFocus();
        QWidget *w = Find<QWidget>(*W, control);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
        TypeText(W, QStringLiteral("+5"));
        EXPECT_EQ(S(Input()->Text()), "7+5") << control;
        EXPECT_EQ(QApplication::focusWidget(), Input()) << control;
    }
    EXPECT_TRUE(Find<QCheckBox>(*W, "CheckBoxZlomky")->isChecked()); // the clicks reached the controls
    EXPECT_TRUE(Mode("sbHex")->isChecked());
}
