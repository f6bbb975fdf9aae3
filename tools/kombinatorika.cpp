#include "kombinatorika.h"

#include "uCeleCisla.h"
#include "uDisk.h"
#include "uSpolocneOkna.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// A formula drawn in two lines: text, fractions, combinatorial numbers (top
// over bottom in tall brackets), powers and subscripts.
class TVzorec : public QWidget {
public:
    struct TKus {
        enum TDruh { Text, Zlomok, Kombinacne, Mocnina, Index } Druh;
        QString A; // the text, numerator, top or base
        QString B; // denominator, bottom or exponent
    };

    TVzorec(QList<TKus> kusy, QWidget *parent) : QWidget(parent), m_kusy(std::move(kusy)) {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override {
        int width = 0;
        for (const TKus &kus : m_kusy)
            width += Width(kus);
        return QSize(width + 2, 2 * fontMetrics().height() + 6);
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(palette().color(QPalette::WindowText));
        const QFontMetrics fm = fontMetrics();
        const int mid = height() / 2;
        const int baseline = mid + (fm.ascent() - fm.descent()) / 2;
        const int upper = mid - 2 - fm.descent(); // baseline of a numerator
        const int lower = mid + 2 + fm.ascent();  // baseline of a denominator
        int x = 1;
        for (const TKus &kus : m_kusy) {
            const int w = Width(kus);
            switch (kus.Druh) {
            case TKus::Text: p.drawText(x, baseline, kus.A); break;
            case TKus::Zlomok:
                p.drawText(x + (w - fm.horizontalAdvance(kus.A)) / 2, upper, kus.A);
                p.drawText(x + (w - fm.horizontalAdvance(kus.B)) / 2, lower, kus.B);
                p.drawLine(QPointF(x + 1, mid + 0.5), QPointF(x + w - 1, mid + 0.5));
                break;
            case TKus::Kombinacne: {
                const int bracket = BracketWidth();
                const qreal top = mid - fm.height() - 1, bottom = mid + fm.height() + 1;
                QPainterPath left, right;
                left.moveTo(x + bracket - 1, top);
                left.quadTo(x + 1, mid, x + bracket - 1, bottom);
                right.moveTo(x + w - bracket + 1, top);
                right.quadTo(x + w - 1, mid, x + w - bracket + 1, bottom);
                p.drawPath(left);
                p.drawPath(right);
                p.drawText(x + (w - fm.horizontalAdvance(kus.A)) / 2, upper, kus.A);
                p.drawText(x + (w - fm.horizontalAdvance(kus.B)) / 2, lower, kus.B);
                break;
            }
            case TKus::Mocnina:
            case TKus::Index: {
                p.drawText(x, baseline, kus.A);
                const QFont normal = p.font();
                p.setFont(SmallFont());
                const int shift = kus.Druh == TKus::Mocnina ? -fm.ascent() / 2 : fm.descent() + 1;
                p.drawText(x + fm.horizontalAdvance(kus.A), baseline + shift, kus.B);
                p.setFont(normal);
                break;
            }
            }
            x += w;
        }
    }

private:
    QFont SmallFont() const {
        QFont f = font();
        f.setPointSizeF(f.pointSizeF() * 0.75);
        return f;
    }
    int BracketWidth() const { return fontMetrics().height() / 2 + 2; }

    int Width(const TKus &kus) const {
        const QFontMetrics fm = fontMetrics();
        switch (kus.Druh) {
        case TKus::Text: return fm.horizontalAdvance(kus.A);
        case TKus::Zlomok: return std::max(fm.horizontalAdvance(kus.A), fm.horizontalAdvance(kus.B)) + 6;
        case TKus::Kombinacne:
            return std::max(fm.horizontalAdvance(kus.A), fm.horizontalAdvance(kus.B)) + 2 * BracketWidth() + 2;
        case TKus::Mocnina:
        case TKus::Index: return fm.horizontalAdvance(kus.A) + QFontMetrics(SmallFont()).horizontalAdvance(kus.B) + 1;
        }
        return 0;
    }

    QList<TKus> m_kusy;
};

QLineEdit *MakeEdit(QWidget *parent, const char *name, const QString &text) {
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    InstallEditClipboardKeys(edit);
    return edit;
}

QRadioButton *MakeChoice(QWidget *parent, const char *name, const QString &text) {
    return Named(new QRadioButton(text, parent), name);
}

} // namespace

TkombinatorikaFrm::TkombinatorikaFrm(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("kombinatorikaFrm"));
    setWindowTitle(QStringLiteral("Kombinatorika"));

    EdtN = MakeEdit(this, "EdtN", QStringLiteral("0"));
    EdtK = MakeEdit(this, "EdtK", QStringLiteral("0"));
    for (QLineEdit *edit : {EdtN, EdtK}) {
        edit->setMaxLength(4);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
        InstallWholeNumberKeyFilter(edit, false);
    }
    EdtVysledok = MakeReadOnlyEdit(this, "EdtVysledok", QStringLiteral("0"));
    vysledokLbl = MakeLabel(this, "vysledokLbl", QStringLiteral("výsledok ="));

    RadioButton1 = MakeChoice(this, "RadioButton1", QStringLiteral("Kombinačné číslo"));
    RadioButton2 = MakeChoice(this, "RadioButton2", QStringLiteral("Variácie bez opakovania"));
    RadioButton3 = MakeChoice(this, "RadioButton3", QStringLiteral("Variácie s opakovaním"));
    RadioButton4 = MakeChoice(this, "RadioButton4", QStringLiteral("Kombinácie bez opakovania"));
    RadioButton5 = MakeChoice(this, "RadioButton5", QStringLiteral("Kombinácie s opakovaním"));
    RadioButton6 = MakeChoice(this, "RadioButton6", QStringLiteral("Permutácie bez opakovania"));
    RadioButton1->setChecked(true);

    vypocetBtn = new QPushButton(QStringLiteral("Počítať"), this);
    vypocetBtn->setObjectName(QStringLiteral("vypocetBtn"));
    SetBold(vypocetBtn);

    using K = TVzorec::TKus;
    const QString minus = QStringLiteral(" \u2212 ");
    const QList<QList<K>> formulas = {
        {{K::Kombinacne, "n", "k"}, {K::Text, " = ", {}}, {K::Zlomok, "n!", "k! (n" + minus + "k)!"}},
        {{K::Index, "V", "k"}, {K::Text, "(n) = ", {}}, {K::Zlomok, "n!", "(n" + minus + "k)!"}},
        {{K::Index, "V'", "k"}, {K::Text, "(n) = ", {}}, {K::Mocnina, "n", "k"}},
        {{K::Index, "C", "k"}, {K::Text, "(n) = ", {}}, {K::Kombinacne, "n", "k"}},
        {{K::Index, "C'", "k"}, {K::Text, "(n) = ", {}}, {K::Kombinacne, "n + k" + minus + "1", "k"}},
        {{K::Text, "P(n) = n!", {}}},
    };
    auto *choices = new QGridLayout;
    choices->setHorizontalSpacing(16);
    choices->setVerticalSpacing(2);
    QRadioButton *buttons[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5, RadioButton6};
    for (int i = 0; i < 6; ++i) {
        choices->addWidget(buttons[i], i, 0);
        choices->addWidget(new TVzorec(formulas.at(i), this), i, 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
    choices->setColumnStretch(1, 1);

    auto *inputs = new QHBoxLayout;
    inputs->addWidget(MakeLabel(this, nullptr, QStringLiteral("n =")));
    inputs->addWidget(EdtN);
    inputs->addSpacing(24);
    inputs->addWidget(MakeLabel(this, nullptr, QStringLiteral("k =")));
    inputs->addWidget(EdtK);
    inputs->addStretch();
    auto *result = new QHBoxLayout;
    result->addWidget(vysledokLbl);
    result->addWidget(EdtVysledok, 1);
    auto *calculate = new QHBoxLayout;
    calculate->addStretch();
    calculate->addWidget(vypocetBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addSpacing(8);
    layout->addLayout(choices);
    layout->addStretch();
    layout->addLayout(calculate);
    layout->addLayout(result);

    connect(vypocetBtn, &QPushButton::clicked, this, &TkombinatorikaFrm::vypocetBtnClick);

    ApplyLanguage();
    FitSize();
    CentreOnScreen(this);
}

void TkombinatorikaFrm::FitSize() {
    layout()->activate();
    setFixedSize(std::max(356, sizeHint().width()), std::max(372, sizeHint().height()));
}

TKombinatorika::TUloha TkombinatorikaFrm::Uloha() const {
    const QRadioButton *buttons[] = {RadioButton1, RadioButton2, RadioButton3,
                                     RadioButton4, RadioButton5, RadioButton6};
    for (int i = 0; i < 6; ++i)
        if (buttons[i]->isChecked())
            return TKombinatorika::TUloha(i);
    return TKombinatorika::KombinacneCislo;
}

void TkombinatorikaFrm::vypocetBtnClick() {
    const TKombinatorika::TVysledok v = m_kombinatorika.Vypocet(Uloha(), EdtN->text(), EdtK->text());
    if (v.Stav == TKombinatorika::TVysledok::NNotEntered)
        EdtN->setFocus();
    else if (v.Stav == TKombinatorika::TVysledok::KNotEntered)
        EdtK->setFocus();
    ShowResultText(EdtVysledok, v.Text, v.Stav == TKombinatorika::TVysledok::Ok);
}

void TkombinatorikaFrm::ApplyLanguage() {
    if (!LanguageIni())
        return;
    const QString form = QStringLiteral("Combinatorics");
    TranslateWindowTitle(this, form, QStringLiteral("Caption"));
    TranslateText(vysledokLbl, form, QStringLiteral("Result"));
    TranslateText(RadioButton1, form, QStringLiteral("CombinatorialNumber"));
    TranslateText(RadioButton2, form, QStringLiteral("VariationWithoutRepetition"));
    TranslateText(RadioButton3, form, QStringLiteral("VariationWithRepetition"));
    TranslateText(RadioButton4, form, QStringLiteral("CombinationWithoutRepetition"));
    TranslateText(RadioButton5, form, QStringLiteral("CombinationWithRepetition"));
    TranslateText(RadioButton6, form, QStringLiteral("PermutationWithoutRepetition"));
    TKombinatorika &m = m_kombinatorika;
    m.KNotEntered = LanguageText(form, QStringLiteral("KNotEntered"), m.KNotEntered);
    m.NNotEntered = LanguageText(form, QStringLiteral("NNotEntered"), m.NNotEntered);
    m.InvalidInput = LanguageText(form, QStringLiteral("InvalidInput"), m.InvalidInput);
    TranslateText(vypocetBtn, QStringLiteral("Common"), QStringLiteral("Calculate"));
    FitSize();
}
