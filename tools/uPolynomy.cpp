#include "uPolynomy.h"

#include "uCisla.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr QChar Free{FreeVariableSlot};

bool IsLetter(QChar c) { return c >= QLatin1Char('a') && c <= QLatin1Char('z'); }
bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool IsSign(QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); }

qint16 CheckedExponent(qint64 value) {
    if (value < -32768 || value > 32767)
        throw EPolynom(TPolynomError::ExponentRange);
    return qint16(value);
}

int SlotOf(const TPremennePolynomu &variables, QChar letter) {
    for (int i = 0; i < MaxPolynomialVariables; ++i)
        if (variables[size_t(i)] == letter)
            return i;
    return -1;
}

// The slot of letter, given the first free slot when the letter has none;
// -1 when no slot is free.
int ClaimSlot(TPremennePolynomu &variables, QChar letter) {
    int slot = SlotOf(variables, letter);
    if (slot < 0) {
        slot = SlotOf(variables, Free);
        if (slot >= 0)
            variables[size_t(slot)] = letter;
    }
    return slot;
}

// Every letter of letters gets a slot in variables (as far as slots are
// free).
void ClaimSlots(TPremennePolynomu &variables, const TPremennePolynomu &letters) {
    for (QChar letter : letters)
        if (letter != Free)
            ClaimSlot(variables, letter);
}

// Exponents written in the slots of from, rewritten in the slots of to;
// letters that to lacks are dropped.
TExponenty TranslateExponents(const TExponenty &exponents, const TPremennePolynomu &from, const TPremennePolynomu &to) {
    if (from == to)
        return exponents;
    TExponenty result{};
    for (int j = 0; j < MaxPolynomialVariables; ++j) {
        if (exponents[size_t(j)] == 0 || from[size_t(j)] == Free)
            continue;
        const int k = SlotOf(to, from[size_t(j)]);
        if (k >= 0)
            result[size_t(k)] = CheckedExponent(qint64(result[size_t(k)]) + exponents[size_t(j)]);
    }
    return result;
}

bool IsWhole(long double v) { return std::isfinite(v) && v == std::floor(v); }

// The coefficient as printed: three decimals at most; beyond 18 digits all
// integer digits, so that a printed polynomial can always be read back.
QString FormatCoefficient(double value, QChar separator) {
    if (std::fabs(value) >= 1e18 && std::isfinite(value)) {
        char buf[400];
        std::snprintf(buf, sizeof buf, "%.0f", value);
        return QString::fromLatin1(buf);
    }
    QString text = FormatFloat(QStringLiteral("0.###"), value, separator);
    // A negative value that rounds to 0 keeps its sign: "x-0y", not "x0y".
    if (value < 0 && !text.startsWith(QLatin1Char('-')))
        text.prepend(QLatin1Char('-'));
    return text;
}

const char *ErrorText(TPolynomError kind) {
    switch (kind) {
    case TPolynomError::ExponentRange: return "exponent outside -32768..32767";
    case TPolynomError::TooManyTerms: return "too many terms";
    case TPolynomError::TooMuchWork: return "too much work";
    case TPolynomError::Overflow: return "coefficient overflow";
    case TPolynomError::DivisorLeadingTerm: return "divisor without a single leading term";
    case TPolynomError::DivisionByZero: return "division by zero";
    }
    return "polynomial error";
}

} // namespace

EPolynom::EPolynom(TPolynomError kind, QChar letter)
    : std::runtime_error(ErrorText(kind)), Kind(kind), Letter(letter) {}

// ---------------------------------------------------------------------------
// TClen

TClen::TClen(const TExponenty &exponents, double coefficient) : m_coefficient(coefficient), m_exponents(exponents) {}

void TClen::AddCoefficient(double value) {
    const long double old = m_coefficient;
    long double sum = old + value;
    // Rounding noise of decimal coefficients that should cancel (0,1 + 0,2
    // - 0,3) is 0; sums of whole numbers are exact and kept as they are.
    constexpr long double Noise = 0x1p-50L;
    if (sum != 0 && !(IsWhole(old) && IsWhole(value)) &&
        std::fabs(sum) <= Noise * std::max(std::fabs(old), std::fabs(static_cast<long double>(value))))
        sum = 0;
    m_coefficient = double(sum);
}

void TClen::Parse(const QString &text, TPremennePolynomu &variables, QChar separator) {
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (IsSign(c) || IsDigit(c) || c == separator) {
            int j = i + 1;
            while (j < n && (IsSign(text.at(j)) || IsDigit(text.at(j)) || text.at(j) == separator))
                ++j;
            const QString run = text.mid(i, j - i);
            long double factor = 1;
            if (run == QLatin1String("-"))
                factor = -1;
            else if (run != QLatin1String("+") && !TryStrToFloat(run, factor, separator))
                throw std::invalid_argument("not a number in a polynomial term");
            m_coefficient = double(static_cast<long double>(m_coefficient) * factor);
            i = j;
        } else if (IsLetter(c)) {
            const int slot = ClaimSlot(variables, c);
            ++i;
            qint64 exponent = 1;
            if (i < n && text.at(i) == QLatin1Char('^')) {
                ++i;
                bool negative = false;
                if (i < n && IsSign(text.at(i))) {
                    negative = text.at(i) == QLatin1Char('-');
                    ++i;
                }
                int digits = 0;
                qint64 value = 0;
                for (; i < n && IsDigit(text.at(i)); ++i, ++digits)
                    value = std::min<qint64>(value * 10 + (text.at(i).unicode() - '0'), 1000000);
                exponent = digits == 0 ? 1 : value;
                if (negative)
                    exponent = -exponent;
                CheckedExponent(exponent);
            }
            if (slot >= 0)
                m_exponents[size_t(slot)] = CheckedExponent(m_exponents[size_t(slot)] + exponent);
        } else {
            ++i; // a character the text check refuses
        }
    }
}

QString TClen::CoefficientText(bool first, QChar separator) const {
    QString s;
    if (m_coefficient == 0)
        return s;
    if (m_coefficient >= 0 && !first)
        s += QLatin1Char('+');
    if (std::fabs(m_coefficient) != 1)
        s += FormatCoefficient(m_coefficient, separator);
    else if (m_coefficient == -1)
        s += QLatin1Char('-');
    return s;
}

void TClen::Format(QString &s, const TPremennePolynomu &variables, QChar separator) const {
    if (m_coefficient == 0)
        return;
    s += CoefficientText(false, separator);
    bool letter = false;
    for (int k = 0; k < MaxPolynomialVariables; ++k) {
        const qint16 e = m_exponents[size_t(k)];
        if (e == 0)
            continue;
        s += variables[size_t(k)];
        if (e != 1)
            s += QLatin1Char('^') + QString::number(e);
        letter = true;
    }
    if (!letter && std::fabs(m_coefficient) == 1)
        s += QLatin1Char('1');
}

// ---------------------------------------------------------------------------
// TPolynom

size_t TPolynom::TExponentHash::operator()(const TExponenty &e) const noexcept {
    quint64 h = 0;
    for (qint16 x : e)
        h = (h << 13 | h >> 51) ^ quint16(x);
    h *= 0x9E3779B97F4A7C15ull;
    return size_t(h ^ (h >> 29));
}

TPolynom::TPolynom() { ResetVariableList(m_variables); }

void TPolynom::Clear() {
    m_terms.clear();
    m_index.clear();
}

void TPolynom::ResetVariableList(TPremennePolynomu &variables) { variables.fill(Free); }

bool TPolynom::IsPolynomialChar(QChar c, QChar separator) {
    return c == QLatin1Char(' ') || IsSign(c) || IsDigit(c) || c == QLatin1Char('^') || IsLetter(c) || c == separator;
}

bool TPolynom::IsValidText(const QString &text, QChar separator) {
    QString t = text;
    t.remove(QLatin1Char(' '));
    if (t.isEmpty())
        return true;
    const QChar caret = QLatin1Char('^');
    const QChar last = t.back();
    if (IsSign(last) || last == separator)
        return false;
    if (t.front() == separator || t.front() == caret || !IsPolynomialChar(t.front(), separator))
        return false;
    for (int i = 1; i < t.size(); ++i) {
        const QChar c = t.at(i), prev = t.at(i - 1);
        if (!IsPolynomialChar(c, separator))
            return false;
        if ((IsSign(prev) || prev == separator) && (IsSign(c) || c == separator || c == caret))
            return false;
        if (prev == caret && (c == separator || c == caret))
            return false;
        if (IsLetter(prev) && c == separator)
            return false;
        if ((prev == separator || prev == caret) && IsLetter(c))
            return false;
    }
    // Every run of digits, separators and "^": an exponent that fits 16
    // bits, or a number.
    int i = 0;
    const int n = int(t.size());
    while (i < n) {
        const auto inRun = [&](QChar c) { return IsDigit(c) || c == separator || c == caret; };
        if (!inRun(t.at(i))) {
            ++i;
            continue;
        }
        int j = i;
        while (j < n && inRun(t.at(j)))
            ++j;
        const QString run = t.mid(i, j - i);
        i = j;
        if (run.front() == caret) {
            qint64 value = 0;
            for (int k = 1; k < run.size(); ++k) {
                if (!IsDigit(run.at(k)))
                    return false;
                value = value * 10 + (run.at(k).unicode() - '0');
                if (value > 32767)
                    return false;
            }
        } else {
            long double value = 0;
            if (!TryStrToFloat(run, value, separator))
                return false;
        }
    }
    return true;
}

int TPolynom::CountLetters(const QString &text) {
    bool seen[26] = {};
    int count = 0;
    for (QChar c : text)
        if (IsLetter(c) && !seen[c.unicode() - 'a']) {
            seen[c.unicode() - 'a'] = true;
            ++count;
        }
    return count;
}

void TPolynom::AddText(const QString &text, const TPremennePolynomu &variables, bool negate, bool clearFirst,
                       QChar separator) {
    if (clearFirst)
        Clear();
    if (m_terms.empty())
        m_variables = variables;
    else
        ClaimSlots(m_variables, variables);
    QString t = text;
    t.remove(QLatin1Char(' '));
    const int n = int(t.size());
    int i = 0;
    while (i < n) {
        int j = i + 1;
        while (j < n && !(IsSign(t.at(j)) && t.at(j - 1) != QLatin1Char('^')))
            ++j;
        TClen term;
        term.Parse(t.mid(i, j - i), m_variables, separator);
        AddOwnTerm(term.Exponents(), negate ? -term.Coefficient() : term.Coefficient());
        i = j;
    }
    CheckFinite();
}

void TPolynom::AppendTerm(const TClen &term) {
    if (int(m_terms.size()) >= MaxTerms)
        throw EPolynom(TPolynomError::TooManyTerms);
    m_terms.push_back(term);
    m_index.emplace(term.Exponents(), m_terms.size() - 1);
}

void TPolynom::AddOwnTerm(const TExponenty &exponents, double coefficient) {
    const auto it = m_index.find(exponents);
    if (it != m_index.end())
        m_terms[it->second].AddCoefficient(coefficient);
    else
        AppendTerm(TClen(exponents, coefficient));
}

void TPolynom::RebuildIndex() {
    m_index.clear();
    for (size_t i = 0; i < m_terms.size(); ++i)
        m_index.emplace(m_terms[i].Exponents(), i);
}

void TPolynom::CheckFinite() const {
    for (const TClen &t : m_terms)
        if (!std::isfinite(t.Coefficient()))
            throw EPolynom(TPolynomError::Overflow);
}

void TPolynom::MultiplyCounted(const TPolynom &a, const TPolynom &b, TPolynom &result, qint64 &work) {
    work += qint64(a.m_terms.size()) * qint64(b.m_terms.size());
    if (work > MaxWork)
        throw EPolynom(TPolynomError::TooMuchWork);
    TPolynom r;
    r.m_variables = a.m_variables;
    ClaimSlots(r.m_variables, b.m_variables);
    std::array<int, MaxPolynomialVariables> slotOfB;
    for (int j = 0; j < MaxPolynomialVariables; ++j)
        slotOfB[size_t(j)] = b.m_variables[size_t(j)] == Free ? -1 : SlotOf(r.m_variables, b.m_variables[size_t(j)]);
    for (const TClen &ta : a.m_terms) {
        for (const TClen &tb : b.m_terms) {
            TExponenty e = ta.Exponents();
            for (int j = 0; j < MaxPolynomialVariables; ++j) {
                const int k = slotOfB[size_t(j)];
                if (k >= 0 && tb.Exponent(j) != 0)
                    e[size_t(k)] = CheckedExponent(qint64(e[size_t(k)]) + tb.Exponent(j));
            }
            r.AddOwnTerm(e, double(static_cast<long double>(ta.Coefficient()) * tb.Coefficient()));
        }
    }
    r.CheckFinite();
    result = std::move(r);
}

void TPolynom::Multiply(const TPolynom &a, const TPolynom &b, TPolynom &result) {
    qint64 work = 0;
    MultiplyCounted(a, b, result, work);
}

void TPolynom::Power(int n) {
    if (n < 0)
        throw std::invalid_argument("negative power of a polynomial");
    if (n == 0) {
        Clear();
        AppendTerm(TClen());
        return;
    }
    qint64 work = 0;
    TPolynom power = *this;
    for (int i = 1; i < n; ++i) {
        TPolynom next;
        MultiplyCounted(*this, power, next, work);
        power = std::move(next);
    }
    *this = std::move(power);
}

void TPolynom::Divide(const TPolynom &dividend, const TPolynom &divisor, TPolynom &remainder, TPolynom &quotient) {
    dividend.CheckFinite();
    divisor.CheckFinite();
    // One list for everything: the dividend's, with the divisor's letters.
    TPolynom rest;
    rest.m_variables = dividend.m_variables;
    ClaimSlots(rest.m_variables, divisor.m_variables);
    const QChar mainLetter = divisor.m_variables[0];
    const int main = std::max(0, SlotOf(rest.m_variables, mainLetter));
    const auto higherFirst = [main](const TClen &x, const TClen &y) { return x.Exponent(main) > y.Exponent(main); };

    std::vector<TClen> d;
    for (const TClen &t : divisor.m_terms)
        if (t.Coefficient() != 0)
            d.emplace_back(TranslateExponents(t.Exponents(), divisor.m_variables, rest.m_variables), t.Coefficient());
    std::stable_sort(d.begin(), d.end(), higherFirst);
    if (d.empty())
        throw EPolynom(TPolynomError::DivisionByZero);
    // Each step removes the remainder's leading term only when the
    // divisor's leading term is one term of the main variable alone;
    // otherwise the division need not end.
    const TClen &lead = d.front();
    const QChar shownLetter = rest.m_variables[size_t(main)];
    if (d.size() > 1 && d[1].Exponent(main) == lead.Exponent(main))
        throw EPolynom(TPolynomError::DivisorLeadingTerm, shownLetter);
    for (int k = 0; k < MaxPolynomialVariables; ++k)
        if (k != main && lead.Exponent(k) != 0)
            throw EPolynom(TPolynomError::DivisorLeadingTerm, shownLetter);

    for (const TClen &t : dividend.m_terms)
        rest.m_terms.emplace_back(TranslateExponents(t.Exponents(), dividend.m_variables, rest.m_variables),
                                  t.Coefficient());
    std::stable_sort(rest.m_terms.begin(), rest.m_terms.end(), higherFirst);
    rest.RebuildIndex();
    TPolynom q;
    q.m_variables = rest.m_variables;

    // Each step takes the first non-zero term of the highest power of the
    // main variable, older terms first (the order of a stable sort), and
    // changes only terms of lower powers. So the terms are taken level by
    // level, each level's in the order they were made.
    std::map<int, std::vector<size_t>, std::greater<int>> levels;
    int nonZero = 0;
    for (size_t i = 0; i < rest.m_terms.size(); ++i) {
        levels[rest.m_terms[i].Exponent(main)].push_back(i);
        nonZero += rest.m_terms[i].Coefficient() != 0;
    }
    qint64 work = 0;
    const int leadExponent = lead.Exponent(main);
    while (!levels.empty() && levels.begin()->first >= leadExponent) {
        const std::vector<size_t> level = std::move(levels.begin()->second);
        levels.erase(levels.begin());
        for (const size_t ri : level) {
            if (rest.m_terms[ri].Coefficient() == 0)
                continue;
            TExponenty qe = rest.m_terms[ri].Exponents();
            qe[size_t(main)] = CheckedExponent(qint64(qe[size_t(main)]) - leadExponent);
            const double qc = double(static_cast<long double>(rest.m_terms[ri].Coefficient()) / lead.Coefficient());
            q.AppendTerm(TClen(qe, qc));
            work += qint64(d.size());
            if (work > MaxWork)
                throw EPolynom(TPolynomError::TooMuchWork);
            // The leading term is what this step divides away: exactly 0.
            rest.m_terms[ri].SetCoefficient(0);
            --nonZero;
            for (size_t k = 1; k < d.size(); ++k) {
                TExponenty e = qe;
                for (int s = 0; s < MaxPolynomialVariables; ++s)
                    e[size_t(s)] = CheckedExponent(qint64(e[size_t(s)]) + d[k].Exponent(s));
                const double c = -double(static_cast<long double>(qc) * d[k].Coefficient());
                const auto it = rest.m_index.find(e);
                if (it == rest.m_index.end()) {
                    // Cancelled terms keep their places until the end.
                    if (rest.m_terms.size() >= size_t(4 * MaxTerms))
                        throw EPolynom(TPolynomError::TooManyTerms);
                    rest.m_terms.emplace_back(e, c);
                    rest.m_index.emplace(e, rest.m_terms.size() - 1);
                    levels[e[size_t(main)]].push_back(rest.m_terms.size() - 1);
                    nonZero += c != 0;
                } else {
                    TClen &t = rest.m_terms[it->second];
                    nonZero -= t.Coefficient() != 0;
                    t.AddCoefficient(c);
                    nonZero += t.Coefficient() != 0;
                }
            }
            if (nonZero > MaxTerms)
                throw EPolynom(TPolynomError::TooManyTerms);
        }
    }
    // Cancelled terms print nothing: leave them out.
    std::stable_sort(rest.m_terms.begin(), rest.m_terms.end(), higherFirst);
    std::erase_if(rest.m_terms, [](const TClen &t) { return t.Coefficient() == 0; });
    rest.RebuildIndex();
    rest.CheckFinite();
    q.CheckFinite();
    remainder = std::move(rest);
    quotient = std::move(q);
}

void TPolynom::SortByExponent(int slot) {
    std::stable_sort(m_terms.begin(), m_terms.end(),
                     [slot](const TClen &x, const TClen &y) { return x.Exponent(slot) > y.Exponent(slot); });
    RebuildIndex();
}

const TClen *TPolynom::FirstNonZeroTerm() const {
    for (const TClen &t : m_terms)
        if (t.Coefficient() != 0)
            return &t;
    return nullptr;
}

int TPolynom::MaxExponent() const {
    int result = 0;
    for (const TClen &t : m_terms)
        result = std::max<int>(result, t.Exponent(0));
    return result;
}

bool TPolynom::IsZero() const { return FirstNonZeroTerm() == nullptr; }

bool TPolynom::HasNoNegativeExponent() const {
    return std::none_of(m_terms.begin(), m_terms.end(), [](const TClen &t) { return t.Exponent(0) < 0; });
}

QString TPolynom::ToText(QChar separator) const {
    QString s;
    for (const TClen &t : m_terms)
        t.Format(s, m_variables, separator);
    if (s.startsWith(QLatin1Char('+')))
        s.remove(0, 1);
    return s.isEmpty() ? QStringLiteral("0") : s;
}

THornerSchema TPolynom::HornerScheme(long double m) const {
    int variableSlot = -1;
    int lead = -1;
    for (const TClen &t : m_terms) {
        if (t.Coefficient() == 0)
            continue;
        for (int k = 0; k < MaxPolynomialVariables; ++k) {
            if (t.Exponent(k) == 0)
                continue;
            if (t.Exponent(k) < 0 || (variableSlot >= 0 && variableSlot != k))
                throw std::invalid_argument("Horner scheme of a polynomial that is not in one variable");
            variableSlot = k;
        }
        lead = std::max(lead, variableSlot < 0 ? 0 : int(t.Exponent(variableSlot)));
    }
    THornerSchema schema;
    if (lead < 0)
        return schema;
    const size_t k = size_t(lead) + 1;
    std::vector<double> a(k, 0.0);
    for (const TClen &t : m_terms)
        if (t.Coefficient() != 0)
            a[variableSlot < 0 ? 0 : size_t(t.Exponent(variableSlot))] = t.Coefficient();
    schema.Coefficients.assign(a.rbegin(), a.rend());
    for (size_t p = 0; p < k; ++p) {
        std::vector<double> b = a;
        THornerPass pass;
        for (size_t j = k - 1; j-- > p;) {
            const long double product = static_cast<long double>(b[j + 1]) * m;
            pass.Products.push_back(double(product));
            b[j] = double(product + a[j]);
        }
        for (size_t j = k; j-- > p;)
            pass.Results.push_back(b[j]);
        for (double v : pass.Products)
            if (!std::isfinite(v))
                throw EPolynom(TPolynomError::Overflow);
        for (double v : pass.Results)
            if (!std::isfinite(v))
                throw EPolynom(TPolynomError::Overflow);
        schema.Passes.push_back(std::move(pass));
        a = std::move(b);
    }
    return schema;
}
