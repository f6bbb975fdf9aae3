// The sum window's wiring: what it hands the main window on each path, the
// wait cursor, the refused fields and the keys of the bounds; then the whole
// road from the main window's sum key in base 16.
#include "../app/AppTestSupport.h"
#include "fDerivacie.h"
#include "fHlavny.h"
#include "fSuma.h"
#include "uNastroje.h"
#include "uOkna.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <stdexcept>

namespace {

// Values the index itself; records the application's cursor at every index.
// At FailAt it reports code 25, at ThrowAt it throws.
struct TCursorLog {
    QList<int> Shapes; // -1: no override cursor
    qint64 FailAt = 1000;
    qint64 ThrowAt = 1000;
};

class TRecordingExpression : public TIndexovanyVyraz {
public:
    explicit TRecordingExpression(TCursorLog &log) : m_log(log) {}
    bool Evaluate(qint64 index, long double &value, TChyba &err) override {
        const QCursor *cursor = QApplication::overrideCursor();
        m_log.Shapes.append(cursor ? int(cursor->shape()) : -1);
        if (index == m_log.ThrowAt)
            throw std::runtime_error("evaluation failed");
        if (index == m_log.FailAt) {
            err.Code = TErrorCode::DivisionByZero;
            return false;
        }
        value = static_cast<long double>(index);
        return true;
    }

private:
    TCursorLog &m_log;
};

class TVariablesCheck : public TFakeMainWindow {
public:
    quint8 Code = 0;
    void ValidateVariableValues(const QString &, TChyba &err, const QString &, quint8) override {
        err.ClearCodeAndSpan();
        err.Code = TErrorCode(Code);
    }
};

} // namespace

class SumaTest : public AppTest {};

TEST_F(SumaTest, HandsTheResultOrTheErrorToTheMainWindowWithTheCursorRestored) {
    struct Case {
        const char *name;
        quint8 variablesCode;
        qint64 failAt, throwAt;
        int results, errors, code, variablesShown;
        bool computed;
    } cases[] = {
        {"result", 0, 1000, 1000, 1, 0, 0, 0, true},
        {"failing index", 0, 2, 1000, 0, 1, 25, 0, true},
        {"exception", 0, 1000, 3, 0, 1, 29, 0, true},
        {"missing values", 15, 1000, 1000, 0, 1, 15, 1, false},
        {"unreadable value", 31, 1000, 1000, 0, 1, 31, 0, false},
    };
    for (const Case &c : cases) {
        TVariablesCheck main;
        main.Code = c.variablesCode;
        TCursorLog log;
        log.FailAt = c.failAt;
        log.ThrowAt = c.throwAt;
        TsumaFrm w(&main, nullptr, [&log](const QString &, const QString &) {
            return std::make_unique<TRecordingExpression>(log);
        });
        w.SetFunction(QStringLiteral("n*a"));
        w.show();
        Find<QPushButton>(w, "vypocetBtn")->click();
        EXPECT_EQ(main.TakenResults.size(), c.results) << c.name;
        if (c.results) {
            EXPECT_EQ(main.TakenResults.first(), 15) << c.name;
        }
        ASSERT_EQ(main.ShownErrors.size(), c.errors) << c.name;
        if (c.errors) {
            EXPECT_EQ(CodeNumber(main.ShownErrors.first().Code), c.code) << c.name;
        }
        EXPECT_EQ(main.VariablesWindowShown, c.variablesShown) << c.name;
        EXPECT_EQ(main.AddMissingCalls, (QList<QPair<QString, QString>>{{"n*a", "n"}})) << c.name;
        EXPECT_FALSE(w.isVisible()) << c.name;
        // The hourglass while the loop runs, and never after it.
        EXPECT_EQ(!log.Shapes.isEmpty(), c.computed) << c.name;
        for (int shape : log.Shapes)
            EXPECT_EQ(shape, int(Qt::WaitCursor)) << c.name;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.name;
    }
}

TEST_F(SumaTest, RefusedFieldsTakeTheFocusAndTheBoundsTakeOnlyAnInteger) {
    TFakeMainWindow main;
    TsumaFrm w(&main);
    w.SetFunction(QStringLiteral("n"));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto *lower = Find<QLineEdit>(w, "OdEdt");
    auto *upper = Find<QLineEdit>(w, "DoEdt");
    auto *calculate = Find<QPushButton>(w, "vypocetBtn");

    lower->setText(QStringLiteral("-"));
    calculate->click();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(lower->hasFocus());
    EXPECT_FALSE(lower->styleSheet().isEmpty());
    ASSERT_EQ(Prompter->Shown.size(), 1);
    EXPECT_EQ(Prompter->Shown.first().Text, w.Model().Messages.InvalidBound);
    EXPECT_TRUE(main.ShownErrors.isEmpty());
    EXPECT_TRUE(main.TakenResults.isEmpty());

    // Typing: the number row's letters are digits, "+" is 1, one "-" and only
    // at the start, nothing else; the field's colour goes with the change.
    lower->selectAll();
    TypeText(lower, QStringLiteral("-ľa-5+.x"));
    EXPECT_EQ(S(lower->text()), "-251");
    EXPECT_TRUE(lower->styleSheet().isEmpty());
    upper->setFocus();
    upper->selectAll();
    TypeText(upper, QStringLiteral("1234567890"));
    EXPECT_EQ(S(upper->text()), "123456789"); // nine characters at most

    // The product sign and the product.
    Find<QRadioButton>(w, "RadioButton2")->click();
    EXPECT_EQ(S(Find<QLabel>(w, "Label1")->text()), "Π");
    lower->setText(QStringLiteral("1"));
    upper->setText(QStringLiteral("5"));
    calculate->click();
    ASSERT_EQ(main.TakenResults.size(), 1);
    EXPECT_EQ(main.TakenResults.first(), 120) << double(main.TakenResults.first() - 120);
}

TEST_F(SumaTest, TheSumKeyToTheResultInTheMainWindowsBase) {
    TNastroje tools;
    TProgramWindows program({&tools, nullptr});
    ThlavnyFrm &main = program.Main();
    Find<QAbstractButton>(main, "sbHex")->click();
    main.SetInputText(QStringLiteral("n * A"));
    Find<QPushButton>(main, "sumaBtn")->click();
    TsumaFrm *w = main.findChild<TsumaFrm *>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(S(Find<QLabel>(*w, "funkciaLbl")->text()), "n*10");
    Find<QPushButton>(*w, "vypocetBtn")->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(S(Find<QLineEdit>(main, "vysledokEdt")->text()), "  96"); // 150
    EXPECT_EQ(S(main.Ans()), "96");
    EXPECT_EQ(S(main.InputText()), "n * A"); // the input stays as it was

    // An overflowing product is an error of the main window.
    Find<QAbstractButton>(main, "sbDec")->click();
    main.SetInputText(QStringLiteral("10^400"));
    Find<QPushButton>(main, "sumaBtn")->click();
    Find<QRadioButton>(*w, "RadioButton2")->click();
    Find<QLineEdit>(*w, "DoEdt")->setText(QStringLiteral("20"));
    Find<QPushButton>(*w, "vypocetBtn")->click();
    EXPECT_EQ(S(Find<QLabel>(main, "LblChyba")->text()), "Chyba výpočtu: Príliš vysoké číslo.");
    EXPECT_EQ(S(main.Ans()), "96");
}

TEST_F(SumaTest, TheEnglishFileTranslatesTheSumAndDerivativeWindows) {
    QDir().mkpath(Path("lang"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TARBELON_SOURCE_DIR "/resources/lang/english.txt"), Path("lang/english.txt")));
    TFakeMainWindow main;
    TsumaFrm suma(&main);
    TderivacieFrm derivacie(&main);
    const TCyklickeVypocty::TMessages before = suma.Model().Messages;
    ASSERT_TRUE(LoadLanguageFile("lang\\english.txt"));
    suma.ApplyLanguage();
    derivacie.ApplyLanguage();

    const TCyklickeVypocty::TMessages &after = suma.Model().Messages;
    for (const auto &[old, now] : {std::pair{before.DifficultCalculationCaption, after.DifficultCalculationCaption},
                                   {before.DifficultCalculation, after.DifficultCalculation},
                                   {before.TooDifficultCalculation, after.TooDifficultCalculation},
                                   {before.InputError, after.InputError},
                                   {before.InvalidBound, after.InvalidBound},
                                   {before.InvalidVariable, after.InvalidVariable}})
        EXPECT_NE(S(now), S(old));
    EXPECT_EQ(S(suma.windowTitle()), "Sum / product of a series");
    auto *calculate = Find<QPushButton>(suma, "vypocetBtn");
    EXPECT_EQ(S(calculate->text()), "Calculate");
    EXPECT_GE(calculate->minimumWidth(), calculate->fontMetrics().horizontalAdvance(calculate->text()));

    // The derivative window's built-in texts are English; its error text is not.
    Find<QLineEdit>(derivacie, "funkciaEdt")->setText(QStringLiteral("("));
    Find<QPushButton>(derivacie, "vypocetBtn")->click();
    EXPECT_EQ(S(Find<QLineEdit>(derivacie, "vysledokEdt")->text()), "An error occurred during the calculation.");
}
