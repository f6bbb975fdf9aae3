// The graph, derivative and sum keys hand the checked input to the tool
// windows.
#include "HlavnyTestSupport.h"

#include <QAction>
#include <QMenu>

class ToolKeysTest : public HlavnyTest {
protected:
    TLoggingTools Tools;
    void SetUp() override {
        HlavnyTest::SetUp();
        W->SetToolWindows(&Tools, nullptr);
    }
};

TEST_F(ToolKeysTest, EachKeyChecksTheInputAndHandsItOver) {
    // handed: "" when nothing is
    const struct {
        const char *key, *base, *input, *handed, *error;
    } cases[] = {
        {"grafBtn", "sbDec", "  ", "", "You must enter a function."},
        {"sumaBtn", "sbDec", " ", "", "You must enter an expression."},
        {"grafBtn", "sbDec", "x^2+a", "", "Nie sú zadané všetky premenné."},
        {"grafBtn", "sbDec", "x^2 + b", "graph x^2 + b", ""},
        {"derivaciaBtn", "sbDec", "a*x^2", "derivatives a*x^2", ""},
        {"sumaBtn", "sbHex", "FF + n * A", "sum 255+n*10", ""},
    };
    SetVariable(QStringLiteral("b"), QStringLiteral("2"));
    for (const auto &c : cases) {
        // (An input a base cannot hold would keep the old base.)
        Input()->SetText(QString());
        Mode(c.base)->click();
        Tools.Log.clear();
        Type(QString::fromLatin1(c.input));
        Btn(c.key)->click();
        const std::string name = std::string(c.key) + " " + c.input;
        EXPECT_EQ(Tools.Log, *c.handed ? QStringList{QString::fromLatin1(c.handed)} : QStringList()) << name;
        EXPECT_EQ(S(ErrorText()), c.error) << name;
    }
    // The graph's x needs no value; a got its row and is to be filled in.
    TPremenne &rows = Premenne()->Model();
    EXPECT_GE(rows.IndexOfName(QStringLiteral("a")), 0);
    EXPECT_LT(rows.IndexOfName(QStringLiteral("x")), 0);
    EXPECT_TRUE(Premenne()->isVisible());

    // The Tools menu's graph command is the graph key.
    Mode("sbDec")->click();
    Type(QStringLiteral("sin(x)"));
    Tools.Log.clear();
    QAction *graph = W->findChild<QAction *>(QStringLiteral("GrafFunkcieAct"));
    ASSERT_TRUE(graph->isEnabled());
    graph->trigger();
    EXPECT_EQ(Tools.Log, QStringList{QStringLiteral("graph sin(x)")});
    // Outside the real numbers neither the keys nor the command are usable.
    Mode("sbKomplexne")->click();
    emit W->findChild<QMenu *>(QStringLiteral("ToolsMenu"))->aboutToShow();
    EXPECT_FALSE(graph->isEnabled());
    for (const char *key : {"grafBtn", "derivaciaBtn", "sumaBtn"})
        EXPECT_FALSE(Btn(key)->isEnabled()) << key;
}
