#include "fTrojclenka.h"

#include "uDisk.h"
#include "uSpolocneOkna.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QFrame *MakeLine(QWidget *parent, QFrame::Shape shape) {
    auto *line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// An arrowhead at the end of a line of the scheme.
QLabel *MakeArrow(QWidget *parent, const char *name, bool up) {
    const QSize size(11, 8);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(parent->palette().color(QPalette::WindowText));
    const QPolygonF head = up ? QPolygonF({QPointF(0, 8), QPointF(5.5, 0), QPointF(11, 8)})
                              : QPolygonF({QPointF(0, 0), QPointF(5.5, 8), QPointF(11, 0)});
    p.drawPolygon(head);
    p.end();
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setPixmap(pixmap);
    label->setFixedSize(size);
    return label;
}

} // namespace

TtrojclenkaFrm::TtrojclenkaFrm(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("trojclenkaFrm"));
    setWindowTitle(QStringLiteral("Trojčlenka"));

    // The scheme: a and b in the first row, c and X in the second, a line
    // on each side with its arrowhead; the left one points the same way as
    // the right one for direct proportion and the other way for inverse.
    auto *scheme = new QWidget(this);
    Edit1 = new QLineEdit(scheme);
    Edit2 = new QLineEdit(scheme);
    Edit3 = new QLineEdit(scheme);
    const int editWidth = Edit1->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 8;
    const int editHeight = Edit1->sizeHint().height();
    const int gap = 56;
    const int left = 18, right = left + editWidth + gap + editWidth + 12;
    const int row1 = 12, row2 = row1 + editHeight + 14;
    const int bottom = row2 + editHeight + 10;
    const char *names[] = {"Edit1", "Edit2", "Edit3"};
    QLineEdit *edits[] = {Edit1, Edit2, Edit3};
    const QPoint places[] = {{left + 6, row1}, {left + 6 + editWidth + gap, row1}, {left + 6, row2}};
    for (int i = 0; i < 3; ++i) {
        edits[i]->setObjectName(QLatin1String(names[i]));
        edits[i]->setGeometry(QRect(places[i], QSize(editWidth, editHeight)));
        InstallNumericKeyFilter(edits[i]);
        InstallEditClipboardKeys(edits[i]);
        connect(edits[i], &QLineEdit::textChanged, this, [this] { resultEdt->clear(); });
    }
    const QFontMetrics fm = fontMetrics();
    const QString dots = QStringLiteral(". . . . . . .");
    QLabel *dots1 = MakeLabel(scheme, nullptr, dots);
    dots1->setAlignment(Qt::AlignCenter);
    dots1->setGeometry(left + 6 + editWidth + 4, row1, gap - 8, editHeight);
    // The X stands under the middle of b.
    const QString xText = QStringLiteral("X");
    const int xRight = places[1].x() + editWidth / 2 + fm.horizontalAdvance(xText) / 2;
    QLabel *dots2 = MakeLabel(scheme, nullptr, dots + QStringLiteral("  ") + xText);
    dots2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    dots2->setGeometry(left + 6 + editWidth, row2, xRight - (left + 6 + editWidth) + 1, editHeight);
    QFrame *leftLine = MakeLine(scheme, QFrame::VLine);
    leftLine->setGeometry(left - 2, 4, 4, bottom - 4);
    QFrame *rightLine = MakeLine(scheme, QFrame::VLine);
    rightLine->setGeometry(right - 2, 4, 4, bottom - 4);
    Image1 = MakeArrow(scheme, "Image1", true);
    Image1->move(right - 5, 0);
    Image2 = MakeArrow(scheme, "Image2", true);
    Image2->move(left - 5, 0);
    Image3 = MakeArrow(scheme, "Image3", false);
    Image3->move(left - 5, bottom - 4);
    Image3->hide();
    scheme->setFixedSize(right + 8, bottom + 4);

    RadioButton1 = new QRadioButton(QStringLiteral("Priama úmernosť"), this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("Nepriama úmernosť"), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    Button1 = new QPushButton(QStringLiteral("Počítať"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    SetBold(Button1);
    resultEdt = MakeReadOnlyEdit(this, "resultEdt");

    auto *choices = new QVBoxLayout;
    choices->addWidget(RadioButton1);
    choices->addWidget(RadioButton2);
    choices->addStretch();
    choices->addWidget(Button1);
    auto *top = new QHBoxLayout;
    top->addWidget(scheme);
    top->addSpacing(12);
    top->addLayout(choices);
    auto *result = new QHBoxLayout;
    result->addWidget(MakeLabel(this, nullptr, QStringLiteral("X = ")));
    result->addWidget(resultEdt, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(MakeLine(this, QFrame::HLine));
    layout->addLayout(result);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, Button1);
    setTabOrder(Button1, resultEdt);

    connect(RadioButton1, &QRadioButton::clicked, this, &TtrojclenkaFrm::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TtrojclenkaFrm::RadioButton2Click);
    connect(Button1, &QPushButton::clicked, this, &TtrojclenkaFrm::Button1Click);

    ApplyLanguage();
    FitSize();
    CentreOnScreen(this);
}

void TtrojclenkaFrm::FitSize() {
    layout()->activate();
    setFixedSize(std::max(353, sizeHint().width()), std::max(159, sizeHint().height()));
}

void TtrojclenkaFrm::RadioButton1Click() {
    Image2->show();
    Image3->hide();
}

void TtrojclenkaFrm::RadioButton2Click() {
    Image2->hide();
    Image3->show();
}

void TtrojclenkaFrm::Button1Click() {
    const TTrojclenka::TVysledok v =
        m_trojclenka.Vypocet(Edit1->text(), Edit2->text(), Edit3->text(), RadioButton1->isChecked());
    QLineEdit *edits[] = {Edit1, Edit2, Edit3};
    if (v.Focus >= 0)
        edits[v.Focus]->setFocus();
    ShowResultText(resultEdt, v.Text, v.Ok);
}

void TtrojclenkaFrm::ApplyLanguage() {
    if (!LanguageIni())
        return;
    const QString form = QStringLiteral("RuleOfThree");
    TranslateWindowTitle(this, form, QStringLiteral("Caption"));
    TranslateText(RadioButton1, form, QStringLiteral("DirectProportion"));
    TranslateText(RadioButton2, form, QStringLiteral("InverseProportion"));
    m_trojclenka.ValueNotEntered = LanguageText(form, QStringLiteral("ValueNotEntered"), m_trojclenka.ValueNotEntered);
    m_trojclenka.InvalidInput = LanguageText(form, QStringLiteral("InvalidInput"), m_trojclenka.InvalidInput);
    TranslateText(Button1, QStringLiteral("Common"), QStringLiteral("Calculate"));
    FitSize();
}
