// The sum window's wiring: what it hands the main window on each path, the
// wait cursor, the refused fields and the keys of the bounds.
#include "../app/AppTestSupport.h"
#include "fSuma.h"
#include "uNastroje.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <stdexcept>

namespace {

// Values the index itself and records the application's cursor at every
// index (-1: none); at FailAt it reports code 25, at ThrowAt it throws.
class TRecordingExpression : public TIndexovanyVyraz {
public:
    QList<int> &Shapes;
    qint64 FailAt, ThrowAt;
    TRecordingExpression(QList<int> &shapes, qint64 failAt, qint64 throwAt)
        : Shapes(shapes), FailAt(failAt), ThrowAt(throwAt) {}
    bool Evaluate(qint64 index, long double &value, TChyba &err) override {
        const QCursor *cursor = QApplication::overrideCursor();
        Shapes.append(cursor ? int(cursor->shape()) : -1);
        if (index == ThrowAt)
            throw std::runtime_error("evaluation failed");
        if (index == FailAt)
            err.Code = TErrorCode::DivisionByZero;
        value = static_cast<long double>(index);
        return index != FailAt;
    }
};

class TVariablesCheck : public TFakeMainWindow {
public:
    quint8 Code = 0;
    void ValidateVariableValues(const QString &, TChyba &err, const QString &, TKontrola) override {
        err.ClearCodeAndSpan();
        err.Code = TErrorCode(Code);
    }
};

} // namespace

class SumaTest : public AppTest {};

TEST_F(SumaTest, HandsTheResultOrTheErrorToTheMainWindowWithTheCursorRestored) {
    const struct {
        const char *name;
        quint8 variablesCode;
        qint64 failAt, throwAt;
        int code; // shown on the main window; 0: the result 15 taken
    } cases[] = {
        {"result", 0, 1000, 1000, 0},
        {"failing index", 0, 2, 1000, 25},
        {"exception", 0, 1000, 3, 29},
        {"missing values", 15, 1000, 1000, 15},
    };
    for (const auto &c : cases) {
        TVariablesCheck main;
        main.Code = c.variablesCode;
        QList<int> shapes;
        TsumaFrm w(&main, nullptr, [&](const QString &, const QString &) {
            return std::make_unique<TRecordingExpression>(shapes, c.failAt, c.throwAt);
        });
        w.SetFunction(QStringLiteral("n*a"));
        w.show();
        Find<QPushButton>(w, "vypocetBtn")->click();
        ASSERT_EQ(main.TakenResults.size() + main.ShownErrors.size(), 1) << c.name;
        if (c.code == 0) { // (one by one: a list of long double compares its padding too)
            EXPECT_EQ(main.TakenResults.value(0), 15) << c.name;
        } else {
            EXPECT_EQ(CodeNumber(main.ShownErrors.value(0).Code), c.code) << c.name;
        }
        EXPECT_EQ(main.VariablesWindowShown, c.code == 15) << c.name;
        EXPECT_EQ(main.AddMissingCalls, (QList<QPair<QString, QString>>{{"n*a", "n"}})) << c.name;
        EXPECT_FALSE(w.isVisible()) << c.name;
        // The hourglass while the loop runs, and never after it.
        EXPECT_EQ(!shapes.isEmpty(), c.code != 15) << c.name;
        EXPECT_EQ(shapes.count(int(Qt::WaitCursor)), shapes.size()) << c.name;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.name;
    }
}

TEST_F(SumaTest, TheSumCommandsWindowRefusesFieldsAndTakesOnlyIntegerBounds) {
    TFakeMainWindow main;
    TNastroje tools;
    tools.Attach(&main);
    tools.ShowSum(QStringLiteral("n"));
    TsumaFrm &w = *main.Frame.findChild<TsumaFrm *>();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto *lower = Find<QLineEdit>(w, "OdEdt");
    auto *upper = Find<QLineEdit>(w, "DoEdt");
    lower->setText(QStringLiteral("-"));
    Find<QPushButton>(w, "vypocetBtn")->click();
    EXPECT_TRUE(w.isVisible() && lower->hasFocus() && !lower->styleSheet().isEmpty());
    EXPECT_EQ(Prompter->Shown.size(), 1);
    EXPECT_TRUE(main.ShownErrors.isEmpty() && main.TakenResults.isEmpty());

    // Typing: the number row's letters are digits, "+" is 1, one "-" and only
    // at the start, nothing else (no space); the field's colour goes with the
    // change.
    lower->selectAll();
    TypeText(lower, QStringLiteral("-ľ a-5+. x"));
    EXPECT_EQ(S(lower->text()), "-251");
    EXPECT_TRUE(lower->styleSheet().isEmpty());
    upper->setFocus();
    upper->selectAll();
    TypeText(upper, QStringLiteral("1 234567890"));
    EXPECT_EQ(S(upper->text()), "123456789"); // nine characters at most

    // The product sign, and the product handed to the main window.
    Find<QRadioButton>(w, "RadioButton2")->click();
    EXPECT_EQ(S(Find<QLabel>(w, "Label1")->text()), "Π");
    lower->setText(QStringLiteral("1"));
    upper->setText(QStringLiteral("5"));
    Find<QPushButton>(w, "vypocetBtn")->click();
    ASSERT_EQ(main.TakenResults.size(), 1);
    EXPECT_EQ(main.TakenResults.first(), 120);
}
