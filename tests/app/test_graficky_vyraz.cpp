// The two-dimensional drawing of an expression: its tree, its layout and
// what it paints, on a QImage.
#include "AppTestSupport.h"
#include "GrafickyTestSupport.h"

#include <QImage>
#include <QPainter>

namespace {

// The node reached from n by a path of children ("1" = Child1, "2" = Child2).
const TGrafickyVyraz &Node(const TGrafickyVyraz &n, const char *path) {
    const TGrafickyVyraz *p = &n;
    for (; *path; ++path) {
        p = (*path == '1' ? p->Child1 : p->Child2).get();
        if (!p)
            throw std::logic_error("no such node");
    }
    return *p;
}

QRect Box(const TGrafickyVyraz &n) { return QRect(n.X, n.Y, n.Width, n.Height); }

// A tree at font size 16 at (5, 5), measured and drawn on a white image
// with a margin of 5 (no smoothing, so lines fall on whole rows).
struct TKresba {
    std::unique_ptr<TGrafickyVyraz> Tree;
    QImage Image;

    bool Dark(int x, int y) const { return Image.valid(x, y) && qGray(Image.pixel(x, y)) < 128; }
    int Ink(const QRect &r) const {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += Dark(x, y);
        return n;
    }
    // The middle of the inked rows of r (-1 when r holds no ink).
    double MiddleRow(const QRect &r) const {
        int first = -1, last = -1;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (Dark(x, y)) {
                    if (first < 0)
                        first = y;
                    last = y;
                }
        return first < 0 ? -1 : (first + last) / 2.0;
    }
    // The columns strictly between two nodes, over the whole height.
    QRect Gap(const TGrafickyVyraz &left, const TGrafickyVyraz &right) const {
        return QRect(QPoint(left.X + left.Width, 0), QPoint(right.X - 1, Image.height() - 1));
    }
};

TKresba Kresli(const QString &text) {
    TKresba k;
    const QImage probe(1, 1, QImage::Format_RGB32);
    TPlatno measuring(&probe);
    k.Tree = std::make_unique<TGrafickyVyraz>(text, nullptr, 5, 5, 16);
    k.Tree->Measure(measuring);
    k.Image = QImage(k.Tree->GetWidth() + 10, k.Tree->GetHeight() + 10, QImage::Format_RGB32);
    k.Image.fill(Qt::white);
    QPainter painter(&k.Image);
    TPlatno canvas(painter);
    k.Tree->Draw(canvas);
    return k;
}

} // namespace

TEST(GrafickyVyrazTree, SplitsLikeTheExpressionTree) {
    struct Case {
        const char *text;
        const char *shape;
    };
    const Case cases[] = {
        {"(1+x)/2", "[[1+x]/2]"}, // the bar groups: no bracket node
        {"((1+x))/2", "[([1+x])/2]"}, {"(a)+(b)", "[(a)+(b)]"}, {"a^b^c", "[a^[b^c]]"},
        {"x%*2", "[[x%]*2]"},         {"-(x+1)", "-([x+1])"},   {"x^(1/2)", "[x^([1/2])]"},
    };
    // How the top level splits is the expression tree's; these rows are the drawing's own.
    for (const Case &c : cases) {
        const TGrafickyVyraz tree(c.text, nullptr, 0, 0, 16);
        EXPECT_EQ(S(Shape(tree)), c.shape) << c.text;
    }
}

TEST(GrafickyVyrazTree, MalformedTextRaises) {
    const QString cases[] = {
        "", "x+", "()", "(x", "x)", "2*-x", "x!^2", "5!%", "2e-5", "sin(x)y", QString(MaxExpressionLength + 1, 'x')};
    for (const QString &text : cases) {
        if (text == "2e-5") // the sign of an exponent splits nothing
            EXPECT_EQ(TGrafickyVyraz(text, nullptr, 0, 0, 16).Kind, nkOperand);
        else
            EXPECT_THROW(TGrafickyVyraz(text, nullptr, 0, 0, 16), EEngineRangeError) << S(text.left(20));
    }
}

// Long chains and deep nesting are laid out and painted in time linear in
// their length, and without recursion; only the part in view is painted.
TEST(GrafickyVyrazTree, ChainsAndNestingOfAnyLength) {
    const auto repeated = [](const QString &unit, int n) {
        QString s = "x";
        for (int i = 1; i < n; ++i)
            s += unit;
        return s;
    };
    const QString texts[] = {repeated("+x", 30000), repeated("*x", 30000), repeated("/x", 20000), repeated("^x", 20000),
                             QString(20000, '(') + "x" + QString(20000, ')')};
    QImage image(100, 60, QImage::Format_RGB32);
    for (const QString &text : texts) {
        TGrafickyVyraz tree(text, nullptr, 5, 5, 16);
        TPlatno measuring(&image);
        tree.Measure(measuring);
        const TGrafickyVyraz *first = &tree;
        while (first->Child1)
            first = first->Child1.get();
        // The view around the first x.
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(10 - first->X, 10 - first->Y);
        TPlatno canvas(painter);
        canvas.SetVisibleRect(image.rect().translated(first->X - 10, first->Y - 10));
        tree.Draw(canvas);
        painter.end();
        const TKresba view{nullptr, image};
        EXPECT_GT(view.Ink(QRect(10, 10, first->Width, first->Height)), 0) << S(text.left(4));
        if (text.startsWith("x+") || text.startsWith("x*")) {
            // The first term at the left edge, the last one ends the
            // drawing, on the same row.
            const TGrafickyVyraz &last = *tree.Child2;
            EXPECT_EQ(first->X, 5);
            EXPECT_EQ(last.X + last.Width, tree.X + tree.Width);
            EXPECT_EQ(last.Y, first->Y);
        }
    }
}

TEST(GrafickyVyrazTree, ExponentsShrinkDownToSizeEight) {
    const TGrafickyVyraz power("x^2^2", nullptr, 0, 0, 16);
    EXPECT_EQ(power.FontSize, 16);
    EXPECT_EQ(Node(power, "21").FontSize, 10);
    EXPECT_EQ(Node(power, "22").FontSize, 8);
    const TGrafickyVyraz root("x^(2/3)", nullptr, 0, 0, 16);
    EXPECT_EQ(Node(root, "212").FontSize, 10); // the index
    EXPECT_EQ(TGrafickyVyraz("x", nullptr, 0, 0, 5).FontSize, MinGrafickyFontSize);
}

TEST(GrafickyVyrazLayout, FractionsStackOverABar) {
    for (const char *text : {"(1+x)/2", "(a/b)/c", "1/x^(1/2)", "x^(1/3)/2"}) {
        TKresba k = Kresli(text);
        const TGrafickyVyraz &f = *k.Tree, &n = *f.Child1, &m = *f.Child2;
        EXPECT_EQ(f.Width, std::max(n.Width, m.Width) + 8) << text;
        EXPECT_EQ(f.Height, n.Height + m.Height + 4) << text;
        EXPECT_LE(std::abs((n.X + n.Width / 2) - (f.X + f.Width / 2)), 1) << text;
        EXPECT_LE(std::abs((m.X + m.Width / 2) - (f.X + f.Width / 2)), 1) << text;
        // The bar, 2 pixels below the numerator, over the whole width.
        const int bar = n.Y + n.Height + 2;
        EXPECT_EQ(k.Ink(QRect(f.X, bar, f.Width, 1)), f.Width) << text;
        EXPECT_EQ(m.Y, bar + 2) << text;
        // Nothing runs into it: a root's bar keeps its distance too.
        EXPECT_EQ(k.Ink(QRect(f.X, bar - 2, f.Width, 2)) + k.Ink(QRect(f.X, bar + 1, f.Width, 2)), 0) << text;
    }
}

TEST(GrafickyVyrazLayout, ExponentsAreRaisedBesideTheirBase) {
    for (const char *text : {"x^2^2", "(a+b)^n"}) {
        TKresba k = Kresli(text);
        const TGrafickyVyraz &p = *k.Tree->Child1, &e = *k.Tree->Child2;
        EXPECT_GE(e.X, p.X + p.Width) << text;
        EXPECT_LT(e.Y, p.Y) << text;
        EXPECT_LE(e.Y + e.Height, p.Y + p.Height / 2 + 1) << text; // no lower than the base's middle
        EXPECT_TRUE(Box(*k.Tree).contains(Box(p).united(Box(e)))) << text;
    }
}

TEST(GrafickyVyrazLayout, PowersOfBracketedFractionsAreRoots) {
    struct Case {
        const char *text;
        bool radical;
        bool power;
        bool index;
    };
    const Case cases[] = {
        {"x^(1/2)", true, false, false}, {"x^(1/3)", true, false, true},   {"x^(2/3)", true, true, true},
        {"x^(2/1)", false, true, false}, {"x^(1/1)", false, false, false},
    };
    for (const Case &c : cases) {
        TKresba k = Kresli(c.text);
        const TGrafickyVyraz &r = *k.Tree, &base = *r.Child1, &power = Node(r, "211");
        EXPECT_TRUE(Box(r).contains(Box(base))) << c.text;
        // The bar of the root sign runs over the base, 2 pixels above what
        // stands under it.
        EXPECT_EQ(k.Ink(QRect(base.X, power.Y - 2, base.Width, 1)) == base.Width, c.radical) << c.text;
        EXPECT_EQ(k.Ink(Box(power)) > 0, c.power) << c.text;
        // The index stands above the sign's tick, left of its stroke up.
        const int h = base.Y + base.Height - power.Y;
        const QRect index(r.X, r.Y, base.X - r.X - 2 * h / 5, base.Y + base.Height / 2 - 4 - r.Y);
        EXPECT_EQ(k.Ink(index) > 0, c.index) << c.text;
    }
    // x^(2/1) is drawn as x^2, and x^(1/1) as x.
    const TKresba squared = Kresli("x^2"), plain = Kresli("x"), one = Kresli("x^(1/1)");
    EXPECT_EQ(Kresli("x^(2/1)").Image, squared.Image);
    EXPECT_EQ(one.Tree->Height, plain.Tree->Height);
    EXPECT_GE(one.Tree->Width, plain.Tree->Width);
    EXPECT_EQ(one.Ink(one.Image.rect()), plain.Ink(plain.Image.rect()));
}

TEST(GrafickyVyrazLayout, SignsKeepToTheirRows) {
    // A product's dot sits within the letters' row, between them.
    {
        TKresba k = Kresli("a*b");
        const TGrafickyVyraz &a = *k.Tree->Child1, &b = *k.Tree->Child2;
        const double dot = k.MiddleRow(k.Gap(a, b));
        EXPECT_GT(dot, k.MiddleRow(Box(a)) - 3);
        EXPECT_LT(dot, k.MiddleRow(Box(a)) + 3);
        EXPECT_LT(dot, a.Y + a.Height);
    }
    // Beside a fraction, signs and operands come onto the bar.
    struct Case {
        const char *text;
        const char *fraction;
    };
    const Case cases[] = {{"a/b*c", "1"}, {"1/2+x^2", "1"}, {"x-1/2", "2"}, {"(1/2)+1", "11"}, {"1+(a/b)^2", "211"}};
    for (const Case &c : cases) {
        TKresba k = Kresli(c.text);
        const TGrafickyVyraz &f = Node(*k.Tree, c.fraction);
        const int bar = f.Y + f.Child1->Height + 2;
        const TGrafickyVyraz &l = *k.Tree->Child1, &r = *k.Tree->Child2;
        EXPECT_NEAR(k.MiddleRow(k.Gap(l, r)), bar, 2) << c.text;
        const TGrafickyVyraz &other = c.fraction[0] == '1' ? r : l;
        const TGrafickyVyraz &operand = other.Kind == nkPower ? *other.Child1 : other;
        EXPECT_NEAR(k.MiddleRow(Box(operand)), bar, 3) << c.text;
    }
    // A power keeps the sign on its base's row, whatever its base is.
    for (const char *text : {"(a+b)^2+c", "c+(a+b)^2", "(a-b)^2*c", "c+sin(x)^2", "c+sin(1/2)^2", "sin(1/2)^2+c",
                             "c+x%^2", "c*x%^2", "c-x%^2"}) {
        TKresba k = Kresli(text);
        const TGrafickyVyraz &sign = *k.Tree;
        const bool powerLeft = sign.Child1->Kind == nkPower;
        const TGrafickyVyraz &c = powerLeft ? *sign.Child2 : *sign.Child1;
        const TGrafickyVyraz &base = *(powerLeft ? sign.Child1 : sign.Child2)->Child1;
        const int row = base.Kind == nkFunction  ? base.BaselineY
                        : base.Kind == nkPercent ? base.Y
                                                 : base.Child1->Child1->Y;
        EXPECT_EQ(c.Y, row) << text;
    }
}

TEST(GrafickyVyrazLayout, FunctionNameCentredOnItsArgument) {
    for (const char *text : {"sin(x)", "sin(1/2)"}) {
        TKresba k = Kresli(text);
        const TGrafickyVyraz &f = *k.Tree, &bracket = *f.Child2, &inside = *bracket.Child1;
        const QRect name(f.X, f.Y, bracket.X - f.X, f.Height);
        const double centre = inside.Kind == nkDivide ? inside.Y + inside.Child1->Height + 2 : k.MiddleRow(Box(inside));
        EXPECT_NEAR(k.MiddleRow(name), centre, 4) << text;
        // The bracket's arcs stand on both sides of its content.
        EXPECT_GT(k.Ink(QRect(bracket.X, bracket.Y, inside.X - bracket.X, bracket.Height)), 0) << text;
        EXPECT_GT(k.Ink(QRect(QPoint(inside.X + inside.Width, bracket.Y), Box(bracket).bottomRight() + QPoint(1, 0))),
                  0)
            << text;
    }
}

TEST(GrafickyVyrazPreviewText, InputBecomesTheTextToDraw) {
    SetDecSep(QLatin1Char(','));
    struct Case {
        const char *input;
        const char *preview;
        bool error;
    };
    const Case cases[] = {
        {"   ", "0", false},
        {"2x+3(x-1)", "2*x+3*(x-1)", false},
        {"(2", "???", true},
        // A word operator between blanks stays apart from the name.
        {"2,5e3", "2,5e3", false},
        {"5 nad x + 2 x", "5 nad x+2*x", false},
    };
    for (const Case &c : cases) {
        TChyba err;
        EXPECT_EQ(S(ExpressionPreviewText(c.input, err)), c.preview) << c.input;
        EXPECT_EQ(err.Failed(), c.error) << c.input;
    }
    SetDecSep(SystemDecimalSeparator());
}
