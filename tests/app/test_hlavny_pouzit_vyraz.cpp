// An expression from the expression browser arriving in the main window.
#include "HlavnyTestSupport.h"

TEST_F(HlavnyTest, UseExpressionPutsTheRightHandSideIntoTheInputWithoutEvaluating) {
    const struct {
        const char *text, *input, *variables;
    } cases[] = {
        {"f = x^2+a", " x^2+a", "=;x=;a="},
        {"2*b+$pi", "2*b+$pi", "=;x=;a=;b="},
        {"y=c=d", "c=d", "=;x=;a=;b=;c=;d="},
    };
    for (const auto &c : cases) {
        W->UseExpression(c.text);
        EXPECT_EQ(S(Input()->Text()), c.input);
        EXPECT_EQ(S(Premenne()->Model().Lines().join(';')), c.variables);
        EXPECT_TRUE(Premenne()->isVisible());
        EXPECT_EQ(S(ResultField()->text()), "");
        EXPECT_TRUE(History().isEmpty());
    }
}
