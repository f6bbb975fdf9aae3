// Random expressions of the calculator's own vocabulary, for the comparison
// of the evaluators with a stored table of answers: well-formed texts and
// texts with a random fault, in every number set, with both decimal
// separators, every angle unit, variables and user constants.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <random>

namespace generator {

enum TSada : int { Realne = 0, Zlomky = 1, Komplexne = 2, Modulo = 3 };

struct TPripad {
    int Set = Realne;
    QChar Separator = QLatin1Char(',');
    int AngleUnit = 0;
    int Modulus = 5;
    QStringList Variables;                    // "name=value" lines; empty: no variables
    QList<QPair<QString, QString>> Constants; // ("$sym", value)
    QString Text;
};

class TGenerator {
public:
    explicit TGenerator(quint32 seed) : m_rng(seed) {}

    TPripad Next(int set) {
        TPripad c;
        c.Set = set;
        c.Separator = Pick(2) == 0 ? QLatin1Char(',') : QLatin1Char('.');
        c.AngleUnit = int(Pick(3));
        static const int moduli[] = {2, 3, 5, 7, 13, 97};
        c.Modulus = moduli[Pick(6)];
        m_set = set;
        m_sep = c.Separator;
        // Variables: none at all, or a few names with values (now and then
        // a name without one).
        m_names.clear();
        if (Pick(5) != 0) {
            static const char *names[] = {"x", "y", "a", "b2", "t", "e", "k"};
            const int count = 1 + int(Pick(4));
            for (int i = 0; i < count; ++i) {
                const QString name = QString::fromLatin1(names[Pick(std::size(names))]);
                if (m_names.contains(name))
                    continue;
                m_names << name;
                c.Variables << name + QLatin1Char('=') + (Pick(12) == 0 ? QString() : Value());
            }
        }
        if (Pick(3) == 0)
            c.Constants = {{QStringLiteral("$c"), Sep("2,5")},
                           {QStringLiteral("$Na"), Sep("6,022E23")},
                           {QStringLiteral("$k"), QStringLiteral("-3")}};
        c.Text = Expression(0);
        if (Pick(4) == 0)
            c.Text = Mutate(c.Text);
        if (Pick(6) == 0)
            c.Text = Spaced(c.Text);
        return c;
    }

private:
    std::mt19937 m_rng;
    int m_set = Realne;
    QChar m_sep = QLatin1Char(',');
    QStringList m_names;

    quint32 Pick(size_t n) { return quint32(m_rng() % n); }

    QString Sep(const char *text) const {
        QString s = QString::fromLatin1(text);
        s.replace(QLatin1Char(','), m_sep);
        return s;
    }

    QString Value() {
        if (m_set == Komplexne) {
            static const char *values[] = {"3+j4", "-j", "2e^j45", "1,5", "-2", "j2", "0"};
            return Sep(values[Pick(std::size(values))]);
        }
        if (m_set == Modulo) {
            static const char *values[] = {"3", "12", "0", "-1", "96", "65535"};
            return QString::fromLatin1(values[Pick(std::size(values))]);
        }
        static const char *values[] = {"2", "-3", "0,5", "1e3", "-0,25", "7", "10", "1,23456789012345678901"};
        return Sep(values[Pick(std::size(values))]);
    }

    QString Number() {
        if (m_set == Modulo) {
            static const char *numbers[] = {"0",  "1",  "2",  "3",   "5",     "7",     "10",
                                            "12", "96", "97", "100", "65535", "65536", "123"};
            return QString::fromLatin1(numbers[Pick(std::size(numbers))]);
        }
        if (m_set == Komplexne) {
            static const char *numbers[] = {"0",  "1",    "2",      "3",       "4",       "10",  "0,5", "1,5", "j",
                                            "j4", "j0,5", "2e^j45", "2e^-j90", "3e^j180", "1e2", "100", "7"};
            return Sep(numbers[Pick(std::size(numbers))]);
        }
        static const char *numbers[] = {"0",
                                        "1",
                                        "2",
                                        "3",
                                        "4",
                                        "5",
                                        "7",
                                        "9",
                                        "10",
                                        "12",
                                        "30",
                                        "45",
                                        "60",
                                        "90",
                                        "180",
                                        "100",
                                        "0,5",
                                        "1,5",
                                        "2,5",
                                        ",25",
                                        "0,1",
                                        "0,2",
                                        "0,3",
                                        "1e3",
                                        "2,5e-3",
                                        "1e20",
                                        "1e300",
                                        "123456789",
                                        "999999999999999",
                                        "0,333333333333333333333",
                                        "65535",
                                        "1755",
                                        "3,14159265358979"};
        return Sep(numbers[Pick(std::size(numbers))]);
    }

    QString Atom(int depth) {
        const quint32 r = Pick(10);
        if (r < 4 || depth > 3)
            return Number();
        if (r < 6 && !m_names.isEmpty())
            return m_names.at(int(Pick(size_t(m_names.size()))));
        if (r == 6 && m_set != Modulo) {
            static const char *refs[] = {"$c", "$Na", "$k", "$q"};
            return QString::fromLatin1(refs[Pick(std::size(refs))]);
        }
        if (r == 7) {
            if (m_set == Komplexne)
                return QStringLiteral("abs(") + Expression(depth + 1) + QLatin1Char(')');
            if (m_set == Modulo)
                return QLatin1Char('(') + Expression(depth + 1) + QLatin1Char(')');
            static const char *functions[] = {"arccoth", "arccotgh", "arccotg", "arccot", "arctanh", "arctgh", "arctan",
                                              "arctg",   "cotanh",   "cotgh",   "cotan",  "cotg",    "tanh",   "tgh",
                                              "tan",     "tg",       "arcsinh", "arcsin", "arccosh", "arccos", "sinh",
                                              "cosh",    "sin",      "cos",     "abs",    "sign",    "logy",   "log",
                                              "ln",      "sqrt",     "sqr",     "deg",    "dms",     "rnd"};
            QString name = QString::fromLatin1(functions[Pick(std::size(functions))]);
            if (Pick(8) == 0)
                name = name.toUpper();
            if (Pick(3) == 0)
                return name + Number();
            return name + QLatin1Char('(') + Expression(depth + 1) + QLatin1Char(')');
        }
        return QLatin1Char('(') + Expression(depth + 1) + QLatin1Char(')');
    }

    QString Term(int depth) {
        QString t = Atom(depth);
        if (m_set == Realne || m_set == Zlomky) {
            const quint32 r = Pick(12);
            if (r == 0)
                t += QLatin1Char('!');
            else if (r == 1)
                t += QLatin1Char('%');
        }
        return t;
    }

    QString Operator() {
        if (m_set == Modulo) {
            static const char *ops[] = {"+", "-", "*", "/"};
            return QString::fromLatin1(ops[Pick(std::size(ops))]);
        }
        if (m_set == Komplexne) {
            static const char *ops[] = {"+", "-", "*", "/", "^", "*", "+"};
            return QString::fromLatin1(ops[Pick(std::size(ops))]);
        }
        static const char *ops[] = {"+", "-", "*", "/", "^", "+", "*", " nad ", "div", "mod", "", "MOD"};
        return QString::fromLatin1(ops[Pick(std::size(ops))]);
    }

    QString Expression(int depth) {
        QString e;
        if (Pick(6) == 0)
            e += QLatin1Char('-');
        e += Term(depth);
        const int count = int(Pick(depth == 0 ? 5 : 3));
        for (int i = 0; i < count; ++i)
            e += Operator() + Term(depth);
        return e;
    }

    QString Mutate(QString text) {
        static const char *pieces[] = {"+", "-", "*", "/", "^",   "!",   "%",  "(", ")", "$", ",",
                                       ".", "e", "j", "x", "sin", "mod", "()", "2", "E", "#", " "};
        const int edits = 1 + int(Pick(3));
        for (int i = 0; i < edits && !text.isEmpty(); ++i) {
            const int at = int(Pick(size_t(text.size())));
            switch (Pick(3)) {
            case 0: text.remove(at, 1); break;
            case 1: text.insert(at, QString::fromLatin1(pieces[Pick(std::size(pieces))])); break;
            default: text[at] = QString::fromLatin1(pieces[Pick(std::size(pieces))]).at(0); break;
            }
        }
        return text;
    }

    QString Spaced(const QString &text) {
        QString s;
        for (QChar c : text) {
            s += c;
            if (Pick(4) == 0)
                s += QLatin1Char(' ');
        }
        return s;
    }
};

} // namespace generator
