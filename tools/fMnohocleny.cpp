#include "fMnohocleny.h"

#include "uChyby.h"
#include "uCisla.h"
#include "uDisk.h"
#include "uSpolocne.h"
#include "uSpolocneOkna.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// Font heights of the drawings, in pixels.
constexpr int TextHeight = 25;    // terms and prefixes
constexpr int ExponentHeight = 8; // raised exponents
constexpr int HornerHeight = 16;  // the Horner table
constexpr int Top = 5;            // the top of every text of a result
constexpr int Gap = 2;            // after each piece of a term

// The Horner table's rows, below the top of a pass (the first pass's top is
// the coefficients' row): the products, the line under them, the results.
// The next pass starts Pass pixels lower; the vertical rule reaches RuleEnd
// below the last pass's top and the drawing ends 5 pixels under it.
constexpr int ProductRow = 18;
constexpr int LineRow = 36;
constexpr int ResultRow = 38;
constexpr int Pass = 36;
constexpr int RuleEnd = 56;
// The distance of two columns of the table where their numbers leave room,
// and the least room between two numbers: a quarter of the font's height.
constexpr int ColumnStep = 60;
constexpr int ThinSpace = HornerHeight / 4;

const QColor FailedColour(0xFF, 0x66, 0x66);

// The spin box of n: its edit takes no typing.
class TExponentBox : public QSpinBox {
public:
    explicit TExponentBox(QWidget *parent) : QSpinBox(parent) {
        lineEdit()->setObjectName(QStringLiteral("exponentEdt"));
        lineEdit()->setReadOnly(true);
    }
    QLineEdit *Edit() const { return lineEdit(); }
};

QPushButton *Button(QWidget *parent, const char *name, const QString &text, bool bold = false) {
    auto *b = Named(new QPushButton(text, parent), name);
    if (bold)
        SetBold(b);
    return b;
}

QLineEdit *Edit(QWidget *parent, const char *name, const QString &text) {
    return Named(new QLineEdit(text, parent), name);
}

QString Fill(QString text, const QString &arg1, const QString &arg2) {
    text.replace(QLatin1String("#1"), arg1);
    text.replace(QLatin1String("#2"), arg2);
    return text;
}

} // namespace

// ---------------------------------------------------------------------------
// TPlatnoMnohoclena

TPlatnoMnohoclena::TPlatnoMnohoclena(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    Clear();
}

void TPlatnoMnohoclena::Clear() {
    m_texts.clear();
    m_lines.clear();
    m_size = QSize(10, 35);
    Fit();
    update();
}

QFont TPlatnoMnohoclena::FontOf(int height, bool bold) const {
    QFont f = font();
    f.setPixelSize(height);
    f.setBold(bold);
    return f;
}

TPlatnoMnohoclena::TFontData &TPlatnoMnohoclena::FontData(int height, bool bold) const {
    const auto key = std::make_pair(height, bold);
    auto it = m_fonts.find(key);
    if (it == m_fonts.end())
        it = m_fonts.emplace(key, TFontData{QFontMetrics(FontOf(height, bold)), {}}).first;
    return it->second;
}

int TPlatnoMnohoclena::TextWidth(const QString &text, int height, bool bold) const {
    TFontData &data = FontData(height, bold);
    auto it = data.Widths.constFind(text);
    if (it == data.Widths.cend())
        it = data.Widths.insert(text, data.Metrics.horizontalAdvance(text));
    return *it;
}

int TPlatnoMnohoclena::LineHeight(int height, bool bold) const { return FontData(height, bold).Metrics.height(); }

int TPlatnoMnohoclena::DrawText(int x, int y, const QString &text, int height, bool bold) {
    const int w = TextWidth(text, height, bold);
    const int h = LineHeight(height, bold);
    m_texts.append({text, QRect(x, y, w, h), height, bold});
    Extend(x + w, y + h);
    return w;
}

void TPlatnoMnohoclena::DrawTextRight(int right, int y, const QString &text, int height, bool bold) {
    DrawText(right - TextWidth(text, height, bold), y, text, height, bold);
}

void TPlatnoMnohoclena::DrawLine(const QPoint &from, const QPoint &to) {
    m_lines.append(QLine(from, to));
    Extend(std::max(from.x(), to.x()) + 1, std::max(from.y(), to.y()) + 1);
}

void TPlatnoMnohoclena::Reserve(int width, int height) { Extend(width, height); }

void TPlatnoMnohoclena::Extend(int width, int height) {
    m_size = m_size.expandedTo(QSize(width, height));
    if (!m_fitPending) {
        m_fitPending = true;
        QMetaObject::invokeMethod(this, &TPlatnoMnohoclena::Fit, Qt::QueuedConnection);
    }
}

void TPlatnoMnohoclena::Fit() {
    m_fitPending = false;
    if (size() != m_size)
        setFixedSize(m_size);
    update();
}

void TPlatnoMnohoclena::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    for (const QLine &line : m_lines)
        if (QRect(line.p1(), line.p2()).normalized().adjusted(-1, -1, 1, 1).intersects(area))
            painter.drawLine(line);
    int height = -1;
    bool bold = false;
    for (const TText &t : m_texts) {
        if (!t.Rect.intersects(area))
            continue;
        if (t.Height != height || t.Bold != bold) {
            height = t.Height;
            bold = t.Bold;
            painter.setFont(FontOf(height, bold));
        }
        painter.drawText(t.Rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, t.Text);
    }
}

// ---------------------------------------------------------------------------
// TmnohoclenyFrm

TmnohoclenyFrm::TmnohoclenyFrm(QWidget *parent) : QWidget(parent, ToolWindowFlags) {
    setObjectName(QStringLiteral("mnohoclenyFrm"));
    setWindowTitle(QStringLiteral("Mnohočleny"));
    setMinimumSize(423, 338);
    resize(492, 346);

    // P
    pGpb = new QGroupBox(QStringLiteral("  P  "), this);
    pGpb->setObjectName(QStringLiteral("pGpb"));
    pEdt = Edit(pGpb, "pEdt", QStringLiteral("5x^3-3x^2+6x"));
    mocnina1Btn = Button(pGpb, "mocnina1Btn", QStringLiteral("^"));
    kopirovatVysledokDoPBtn = Button(pGpb, "kopirovatVysledokDoPBtn", QStringLiteral("Kopírovať výsledok"));
    nLbl = MakeLabel(pGpb, "nLbl", QStringLiteral("n ="));
    auto *exponentBox = new TExponentBox(pGpb);
    UpDown1 = exponentBox;
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(2, 30);
    UpDown1->setValue(2);
    exponentEdt = exponentBox->Edit();
    umocniPBtn = Button(pGpb, "umocniPBtn", QStringLiteral("P^n"), true);
    auto *pRow = new QHBoxLayout;
    pRow->addWidget(mocnina1Btn);
    pRow->addWidget(kopirovatVysledokDoPBtn);
    pRow->addStretch();
    pRow->addWidget(nLbl);
    pRow->addWidget(UpDown1);
    pRow->addWidget(umocniPBtn);
    auto *pBox = new QVBoxLayout(pGpb);
    pBox->addWidget(pEdt);
    pBox->addLayout(pRow);

    // Q
    qGpb = new QGroupBox(QStringLiteral("  Q  "), this);
    qGpb->setObjectName(QStringLiteral("qGpb"));
    qEdt = Edit(qGpb, "qEdt", QStringLiteral("x^2+3"));
    mocnina2Btn = Button(qGpb, "mocnina2Btn", QStringLiteral("^"));
    kopirovatVysledokDoQBtn = Button(qGpb, "kopirovatVysledokDoQBtn", QStringLiteral("Kopírovať výsledok"));
    mLbl = MakeLabel(qGpb, "mLbl", QStringLiteral("m ="));
    bodEdt = Edit(qGpb, "bodEdt", QStringLiteral("0"));
    bodEdt->setMaximumWidth(90);
    hornerBtn = Button(qGpb, "hornerBtn", QStringLiteral("HSch (m)"), true);
    auto *qRow = new QHBoxLayout;
    qRow->addWidget(mocnina2Btn);
    qRow->addWidget(kopirovatVysledokDoQBtn);
    qRow->addStretch();
    qRow->addWidget(mLbl);
    qRow->addWidget(bodEdt);
    qRow->addWidget(hornerBtn);
    auto *qBox = new QVBoxLayout(qGpb);
    qBox->addWidget(qEdt);
    qBox->addLayout(qRow);
    for (QPushButton *b : {mocnina1Btn, mocnina2Btn})
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("^^^^")) + 16);

    // The operations
    scitanieBtn = Button(this, "scitanieBtn", QStringLiteral("P + Q"), true);
    odcitanieBtn = Button(this, "odcitanieBtn", QStringLiteral("P - Q"), true);
    nasobenieBtn = Button(this, "nasobenieBtn", QStringLiteral("P . Q"), true);
    delenieBtn = Button(this, "delenieBtn", QStringLiteral("P / Q"), true);
    vymenaBtn = Button(this, "vymenaBtn", QStringLiteral("P <-> Q"));
    auto *operations = new QVBoxLayout;
    operations->setSpacing(4);
    operations->addSpacing(8);
    for (QPushButton *b : {scitanieBtn, odcitanieBtn, nasobenieBtn, delenieBtn})
        operations->addWidget(b);
    operations->addStretch();
    operations->addWidget(vymenaBtn);

    // The result: its text, and below it the drawing with the error label.
    vysGpb = new QGroupBox(QStringLiteral(" Výsledok "), this);
    vysGpb->setObjectName(QStringLiteral("vysGpb"));
    vysEdt = MakeReadOnlyEdit(vysGpb, "vysEdt");
    vysScb = new QScrollArea(vysGpb);
    vysScb->setObjectName(QStringLiteral("vysScb"));
    vysScb->setFrameShape(QFrame::NoFrame);
    vysScb->setWidgetResizable(true);
    auto *paper = new QWidget;
    paper->setAutoFillBackground(true);
    paper->setBackgroundRole(QPalette::Base);
    vysImg = new TPlatnoMnohoclena(paper);
    vysImg->setObjectName(QStringLiteral("vysImg"));
    chybaLbl = MakeLabel(paper, "chybaLbl");
    chybaLbl->setWordWrap(true);
    QPalette red = chybaLbl->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    red.setColor(QPalette::Text, Qt::red);
    chybaLbl->setPalette(red);
    chybaLbl->hide();
    auto *paperBox = new QVBoxLayout(paper);
    paperBox->setContentsMargins(0, 0, 0, 0);
    paperBox->addWidget(chybaLbl);
    paperBox->addWidget(vysImg);
    paperBox->addStretch();
    vysScb->setWidget(paper);
    auto *vysBox = new QVBoxLayout(vysGpb);
    vysBox->addWidget(vysEdt);
    vysBox->addWidget(vysScb, 1);

    // P and Q with the operations beside them, the result below.
    auto *polynomials = new QVBoxLayout;
    polynomials->addWidget(pGpb);
    polynomials->addWidget(qGpb);
    auto *top = new QHBoxLayout;
    top->addLayout(polynomials, 1);
    top->addLayout(operations);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(vysGpb, 1);
    for (QGroupBox *group : {pGpb, qGpb, vysGpb}) {
        group->layout()->setContentsMargins(6, 4, 6, 6);
        group->layout()->setSpacing(4);
    }

    // The edits of P and Q take only the characters of a polynomial; the
    // number row of a Slovak keyboard types digits ("+" stays "+").
    for (QLineEdit *e : {pEdt, qEdt}) {
        e->installEventFilter(this);
        InstallDigitKeyTranslation(e, false);
        connect(e, &QLineEdit::textChanged, this, [this, e] { pEdtChange(e); });
    }
    for (QLineEdit *e : {pEdt, qEdt, bodEdt})
        InstallEditClipboardKeys(e);
    InstallNumericKeyFilter(bodEdt);
    connect(bodEdt, &QLineEdit::textChanged, this, [this] { SetFailed(bodEdt, false); });

    connect(mocnina1Btn, &QPushButton::clicked, this, [this] { mocnina1BtnClick(pEdt); });
    connect(mocnina2Btn, &QPushButton::clicked, this, [this] { mocnina1BtnClick(qEdt); });
    connect(kopirovatVysledokDoPBtn, &QPushButton::clicked, this, [this] { pEdt->setText(vysEdt->text()); });
    connect(kopirovatVysledokDoQBtn, &QPushButton::clicked, this, [this] { qEdt->setText(vysEdt->text()); });
    connect(vymenaBtn, &QPushButton::clicked, this, &TmnohoclenyFrm::vymenaBtnClick);
    connect(scitanieBtn, &QPushButton::clicked, this, &TmnohoclenyFrm::scitanieBtnClick);
    connect(odcitanieBtn, &QPushButton::clicked, this, &TmnohoclenyFrm::odcitanieBtnClick);
    connect(nasobenieBtn, &QPushButton::clicked, this, &TmnohoclenyFrm::nasobenieBtnClick);
    connect(delenieBtn, &QPushButton::clicked, this, &TmnohoclenyFrm::delenieBtnClick);
    connect(umocniPBtn, &QPushButton::clicked, this, &TmnohoclenyFrm::umocniPBtnClick);
    connect(hornerBtn, &QPushButton::clicked, this, &TmnohoclenyFrm::hornerBtnClick);

    // Hints
    mocnina1Btn->setToolTip(QStringLiteral("Vložiť znak mocniny"));
    mocnina2Btn->setToolTip(mocnina1Btn->toolTip());
    scitanieBtn->setToolTip(QStringLiteral("Sčítanie mnohočlenov"));
    odcitanieBtn->setToolTip(QStringLiteral("Odčítanie mnohočlenov"));
    nasobenieBtn->setToolTip(QStringLiteral("Násobenie mnohočlenov"));
    delenieBtn->setToolTip(QStringLiteral("Delenie mnohočlenov"));
    umocniPBtn->setToolTip(QStringLiteral("Umocnenie prvého mnohočlena"));
    hornerBtn->setToolTip(QStringLiteral("Hornerova schéma v bode m"));
    vymenaBtn->setToolTip(QStringLiteral("Vymeniť P a Q"));
    kopirovatVysledokDoPBtn->setToolTip(QStringLiteral("Kopírovať výsledok posledného výpočtu do prvého mnohočlena"));
    kopirovatVysledokDoQBtn->setToolTip(QStringLiteral("Kopírovať výsledok posledného výpočtu do druhého mnohočlena"));

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        move(desk.x() + (desk.width() - width()) / 2, desk.y() + (desk.height() - height()) / 2);
    }
    ApplyLanguage();
}

void TmnohoclenyFrm::ApplyLanguage() {
    // A key missing from the file gives the built-in message.
    m_texts = TTexts();
    if (!::LanguageIni())
        return;
    const QString section = QStringLiteral("Polynomials");
    const auto text = [&](const char *key, const QString &current) {
        return LanguageText(section, QLatin1String(key), current);
    };
    TranslateWindowTitle(this, section, QStringLiteral("Caption"));
    TranslateText(kopirovatVysledokDoPBtn, section, QStringLiteral("CopyResult"));
    kopirovatVysledokDoQBtn->setText(kopirovatVysledokDoPBtn->text());
    vysGpb->setTitle(text("Result", vysGpb->title()));
    mocnina1Btn->setToolTip(text("InsertPowerChar", mocnina1Btn->toolTip()));
    mocnina2Btn->setToolTip(mocnina1Btn->toolTip());
    const std::pair<QPushButton *, const char *> hints[] = {
        {scitanieBtn, "addition"}, {odcitanieBtn, "subtraction"}, {nasobenieBtn, "multiplication"},
        {delenieBtn, "division"},  {umocniPBtn, "power"},         {hornerBtn, "HornerScheme"},
        {vymenaBtn, "SwichPAndQ"}};
    for (const auto &[button, key] : hints)
        button->setToolTip(text(key, button->toolTip()));
    TTexts &t = m_texts;
    t.reminder = text("reminder", t.reminder);
    t.errDivisionByZero = text("errDivisionByZero", t.errDivisionByZero);
    t.errMaxVariables = text("errMaxVariables", t.errMaxVariables);
    t.errMaxVariablesTogether = text("errMaxVariablesTogether", t.errMaxVariablesTogether);
    t.errMax1Variable = text("errMax1Variable", t.errMax1Variable);
    t.errIncorrectNotation = text("errIncorrectNotation", t.errIncorrectNotation);
    t.IncorrectValue = LanguageText(QStringLiteral("Common"), QStringLiteral("IncorrectValue"), t.IncorrectValue);
    t.errMaxDegreeForHornerScheme = text("errMaxDegreeForHornerScheme", t.errMaxDegreeForHornerScheme);
    t.errNegativeIndexes = text("errNegativeIndexes", t.errNegativeIndexes);
    t.errExponentRange = text("errExponentRange", t.errExponentRange);
    t.errTooManyTerms = text("errTooManyTerms", t.errTooManyTerms);
    t.errTooMuchWork = text("errTooMuchWork", t.errTooMuchWork);
    t.errDivisorLeadingTerm = text("errDivisorLeadingTerm", t.errDivisorLeadingTerm);
}

QChar TmnohoclenyFrm::Separator() const { return DecSep(); }

bool TmnohoclenyFrm::eventFilter(QObject *watched, QEvent *event) {
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (edit && (edit == pEdt || edit == qEdt)) {
        if (event->type() == QEvent::FocusIn) {
            pEdtChange(edit);
        } else if (event->type() == QEvent::KeyPress) {
            // Typed characters (after the digit translation) that cannot
            // stand in a polynomial are dropped; keys that type nothing and
            // control characters pass.
            const QString typed = static_cast<QKeyEvent *>(event)->text();
            if (typed.size() == 1 && typed.at(0).unicode() >= 32 && typed.at(0).unicode() != 127 &&
                !TPolynom::IsPolynomialChar(typed.at(0), Separator()))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

template <class F>
void TmnohoclenyFrm::Guarded(F &&command) {
    try {
        command();
    } catch (const EPolynom &e) {
        ShowModelError(e);
    } catch (const EEngineInvalidOp &) {
        ShowErrorCode(TErrorCode::TooLarge);
    } catch (const std::exception &) {
        ShowErrorCode(TErrorCode::UnknownFailure);
    }
}

void TmnohoclenyFrm::ShowErrorCode(TErrorCode code) {
    TChyba error;
    error.Set(code);
    ShowError(ErrorMessage(error));
}

void TmnohoclenyFrm::ShowModelError(const EPolynom &error) {
    switch (error.Kind) {
    case TPolynomError::ExponentRange: ShowError(m_texts.errExponentRange); break;
    case TPolynomError::TooManyTerms: ShowError(m_texts.errTooManyTerms, QString::number(TPolynom::MaxTerms)); break;
    case TPolynomError::TooMuchWork: ShowError(m_texts.errTooMuchWork, QString::number(TPolynom::MaxWork)); break;
    case TPolynomError::Overflow: ShowErrorCode(TErrorCode::TooLarge); break;
    case TPolynomError::DivisorLeadingTerm:
        ShowError(m_texts.errDivisorLeadingTerm, QStringLiteral("Q"), QString(error.Letter));
        break;
    case TPolynomError::DivisionByZero: ShowError(m_texts.errDivisionByZero); break;
    }
}

void TmnohoclenyFrm::ShowError(const QString &text, const QString &arg1, const QString &arg2) {
    ClearImage();
    chybaLbl->setText(Fill(text, arg1, arg2));
    chybaLbl->show();
}

void TmnohoclenyFrm::SetFailed(QLineEdit *edit, bool failed) {
    if (failed) {
        QPalette p = edit->palette();
        p.setColor(QPalette::Base, FailedColour);
        edit->setPalette(p);
    } else {
        edit->setPalette(QPalette());
    }
}

void TmnohoclenyFrm::ClearImage() { vysImg->Clear(); }

void TmnohoclenyFrm::RestoreResultLayout() { vysEdt->show(); }

void TmnohoclenyFrm::pEdtChange(QLineEdit *edit) {
    SetFailed(edit, false);
    RestoreResultLayout();
    ClearImage();
    if (!TPolynom::IsValidText(edit->text(), Separator()))
        return;
    Guarded([&] {
        TPolynom shown;
        ParseAlone(shown, edit->text());
        int x = Top;
        DrawPolynomial(shown, x, edit == pEdt ? QStringLiteral("P = ") : QStringLiteral("Q = "));
        chybaLbl->hide();
    });
}

void TmnohoclenyFrm::mocnina1BtnClick(QLineEdit *edit) {
    edit->insert(QStringLiteral("^"));
    edit->setFocus();
}

void TmnohoclenyFrm::vymenaBtnClick() {
    const QString p = pEdt->text();
    pEdt->setText(qEdt->text());
    qEdt->setText(p);
}

void TmnohoclenyFrm::ParseAlone(TPolynom &polynomial, const QString &text) {
    TPremennePolynomu fresh;
    TPolynom::ResetVariableList(fresh);
    polynomial.AddText(text, fresh, false, true, Separator());
}

bool TmnohoclenyFrm::CheckNotation(QLineEdit *edit, const QString &name) {
    if (TPolynom::IsValidText(edit->text(), Separator()))
        return true;
    SetFailed(edit, true);
    ShowError(m_texts.errIncorrectNotation, name);
    return false;
}

bool TmnohoclenyFrm::ValidateAndParse(int limit) {
    if (TPolynom::CountLetters(pEdt->text() + qEdt->text()) > limit) {
        ShowError(m_texts.errMaxVariablesTogether, QString::number(limit));
        return false;
    }
    if (!CheckNotation(pEdt, QStringLiteral("P")))
        return false;
    ParseAlone(P, pEdt->text());
    if (!CheckNotation(qEdt, QStringLiteral("Q")))
        return false;
    Q.AddText(qEdt->text(), P.Variables(), false, true, Separator());
    return true;
}

void TmnohoclenyFrm::AddOrSubtract(bool subtract) {
    Guarded([&] {
        if (!ValidateAndParse(MaxPolynomialVariables))
            return;
        ParseAlone(R, pEdt->text());
        R.AddText(qEdt->text(), R.Variables(), subtract, false, Separator());
        ShowResult(subtract ? QStringLiteral("-") : QStringLiteral("+"));
    });
}

void TmnohoclenyFrm::scitanieBtnClick() { AddOrSubtract(false); }

void TmnohoclenyFrm::odcitanieBtnClick() { AddOrSubtract(true); }

void TmnohoclenyFrm::nasobenieBtnClick() {
    Guarded([&] {
        if (!ValidateAndParse(MaxPolynomialVariables))
            return;
        TPolynom::Multiply(P, Q, R);
        ShowResult(QStringLiteral("."));
    });
}

void TmnohoclenyFrm::delenieBtnClick() {
    Guarded([&] {
        if (!ValidateAndParse(MaxPolynomialVariables))
            return;
        if (Q.IsZero()) {
            ShowError(m_texts.errDivisionByZero);
            return;
        }
        // The divisor is parsed first: its first letter is the main variable.
        TPolynom divisor, dividend, remainder;
        ParseAlone(divisor, qEdt->text());
        dividend.AddText(pEdt->text(), divisor.Variables(), false, true, Separator());
        TPolynom::Divide(dividend, divisor, remainder, R);
        ShowResult(QStringLiteral("/"), &remainder);
    });
}

void TmnohoclenyFrm::ShowResult(const QString &op, const TPolynom *remainder) {
    chybaLbl->hide();
    ClearImage();
    RestoreResultLayout();
    int x = Top;
    DrawPolynomial(P, x, QStringLiteral("("));
    DrawPolynomial(Q, x, QStringLiteral(") ") + op + QStringLiteral(" ("));
    DrawPolynomial(R, x, QStringLiteral(") = "));
    vysEdt->setText(R.ToText(Separator()));
    vysEdt->setCursorPosition(0);
    if (remainder && !remainder->IsZero())
        DrawPolynomial(*remainder, x, QStringLiteral(" ") + m_texts.reminder + QStringLiteral(" "));
}

void TmnohoclenyFrm::umocniPBtnClick() {
    Guarded([&] {
        if (TPolynom::CountLetters(pEdt->text()) > MaxPolynomialVariables) {
            ShowError(m_texts.errMaxVariables, QStringLiteral("P"), QString::number(MaxPolynomialVariables));
            return;
        }
        if (!CheckNotation(pEdt, QStringLiteral("P")))
            return;
        ParseAlone(P, pEdt->text());
        ClearImage();
        int x = Top;
        DrawPolynomial(P, x, QStringLiteral("("));
        DrawPowerHeading(x, QStringLiteral(")^") + exponentEdt->text());
        P.Power(UpDown1->value());
        DrawPolynomial(P, x, QStringLiteral(" = "));
        chybaLbl->hide();
        vysEdt->setText(P.ToText(Separator()));
        vysEdt->setCursorPosition(0);
    });
}

void TmnohoclenyFrm::hornerBtnClick() {
    Guarded([&] {
        if (TPolynom::CountLetters(qEdt->text()) > 1) {
            ShowError(m_texts.errMax1Variable, QStringLiteral("Q"));
            return;
        }
        if (!CheckNotation(qEdt, QStringLiteral("Q")))
            return;
        ParseAlone(Q, qEdt->text());
        long double m = 0;
        if (!TryStrToFloat(bodEdt->text(), m, Separator())) {
            SetFailed(bodEdt, true);
            ShowError(m_texts.IncorrectValue);
            return;
        }
        if (!Q.HasNoNegativeExponent()) {
            ShowError(m_texts.errNegativeIndexes, QStringLiteral("Q"));
            return;
        }
        if (Q.MaxExponent() >= 11) {
            ShowError(m_texts.errMaxDegreeForHornerScheme, QStringLiteral("Q"), QStringLiteral("10"));
            return;
        }
        const THornerSchema schema = Q.HornerScheme(m);
        ClearImage();
        vysEdt->hide();
        chybaLbl->hide();
        DrawHornerScheme(schema, bodEdt->text().trimmed());
    });
}

void TmnohoclenyFrm::DrawPolynomial(const TPolynom &polynomial, int &x, const QString &prefix) {
    if (!prefix.isEmpty())
        x += vysImg->DrawText(x, Top, prefix, TextHeight);
    const TClen *first = polynomial.FirstNonZeroTerm();
    const QChar separator = Separator();
    for (const TClen &term : polynomial.Terms()) {
        if (term.Coefficient() == 0)
            continue;
        x += vysImg->DrawText(x, Top, term.CoefficientText(&term == first, separator), TextHeight) + Gap;
        bool letter = false;
        for (int k = 0; k < MaxPolynomialVariables; ++k) {
            const qint16 e = term.Exponent(k);
            if (e == 0)
                continue;
            x += vysImg->DrawText(x, Top, QString(polynomial.Variables()[size_t(k)]), TextHeight) + Gap;
            // The exponent shares the letter's top, so it stands raised.
            if (e != 1)
                x += vysImg->DrawText(x, Top, QString::number(e), ExponentHeight) + Gap;
            letter = true;
        }
        if (!letter && std::fabs(term.Coefficient()) == 1)
            x += vysImg->DrawText(x, Top, QStringLiteral("1"), TextHeight) + Gap;
    }
    if (!first)
        x += vysImg->DrawText(x, Top, QStringLiteral("0"), TextHeight);
}

void TmnohoclenyFrm::DrawPowerHeading(int &x, const QString &heading) {
    const int caret = int(heading.indexOf(QLatin1Char('^')));
    x += vysImg->DrawText(x, Top, heading.left(caret), TextHeight);
    x += vysImg->DrawText(x, Top, heading.mid(caret + 1), ExponentHeight);
}

void TmnohoclenyFrm::DrawHornerScheme(const THornerSchema &schema, const QString &point) {
    const int k = int(schema.Coefficients.size());
    if (k == 0)
        return;
    const QChar separator = Separator();
    const auto number = [separator](double v) { return FormatFloat(QStringLiteral("0.###"), v, separator); };
    // Columns are 60 pixels apart; one moves further right only where one
    // of its numbers would otherwise come closer than a thin space to the
    // column left of it (the first column to the rule), by what it needs.
    std::vector<int> widest(size_t(k), 0);
    const auto measure = [&](int c, double v, bool bold) {
        widest[size_t(c)] = std::max(widest[size_t(c)], vysImg->TextWidth(number(v), HornerHeight, bold));
    };
    for (int c = 0; c < k; ++c)
        measure(c, schema.Coefficients[size_t(c)], true);
    for (const THornerPass &pass : schema.Passes) {
        for (size_t i = 0; i < pass.Products.size(); ++i)
            measure(int(i) + 1, pass.Products[i], false);
        for (size_t i = 0; i < pass.Results.size(); ++i)
            measure(int(i), pass.Results[i], i + 1 == pass.Results.size());
    }
    const int w = vysImg->TextWidth(point, HornerHeight) + 8;
    const int rule = w + 5;
    // The numbers are right-aligned: those of column c end at right(c).
    std::vector<int> columns;
    int x = rule;
    for (int c = 0; c < k; ++c) {
        x += std::max(ColumnStep, widest[size_t(c)] + ThinSpace);
        columns.push_back(x);
    }
    const auto right = [&](int c) { return columns[size_t(c)]; };

    for (int c = 0; c < k; ++c)
        vysImg->DrawTextRight(right(c), Top, number(schema.Coefficients[size_t(c)]), HornerHeight, true);
    // Under the coefficients, pass by pass: m and the products, a line, the
    // new coefficients with the remainder in bold.
    int top = Top;
    for (const THornerPass &pass : schema.Passes) {
        vysImg->DrawText(9, top + ProductRow, point, HornerHeight);
        for (size_t i = 0; i < pass.Products.size(); ++i)
            vysImg->DrawTextRight(right(int(i) + 1), top + ProductRow, number(pass.Products[i]), HornerHeight);
        const int results = int(pass.Results.size());
        vysImg->DrawLine(QPoint(5, top + LineRow), QPoint(right(results - 1) + 4, top + LineRow));
        for (int i = 0; i < results; ++i)
            vysImg->DrawTextRight(right(i), top + ResultRow, number(pass.Results[size_t(i)]), HornerHeight,
                                  i == results - 1);
        top += Pass;
    }
    const int last = top - Pass;
    vysImg->DrawLine(QPoint(rule, Top), QPoint(rule, last + RuleEnd));
    vysImg->Reserve(right(k - 1) + 9, last + RuleEnd + 5);
}
