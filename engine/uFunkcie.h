// The built-in functions, defined once: their names, the order in which
// names are searched and functions applied, and what the scanner, the
// checks, the evaluators and the derivative need to know of each. Adding a
// function means one enumerator and one row here, and its arithmetic in the
// evaluators (FunctionValue of the real set; the compiler names a switch
// that misses it).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>

// In the order of the table below.
enum class TFunction : quint8 {
    Arccoth,
    Arccotgh,
    Arccotg,
    Arccot,
    Arctanh,
    Arctgh,
    Arctan,
    Arctg,
    Cotanh,
    Cotgh,
    Cotan,
    Cotg,
    Tanh,
    Tgh,
    Tan,
    Tg,
    Arcsinh,
    Arcsin,
    Arccosh,
    Arccos,
    Sinh,
    Cosh,
    Sin,
    Cos,
    Abs,
    Sign,
    Logy,
    Log,
    Ln,
    Sqrt,
    Sqr,
    Deg,
    Dms,
    Rnd,
};

struct TFunctionInfo {
    QStringView Name; // lower case; read without regard to letter case
    TFunction Function;
    bool InComplexSet;  // the complex set evaluates it too (the real set evaluates all)
    bool UsesAngleUnit; // its argument (sin, tan...) or value (arcsin...) is an angle in the context's unit
    // The derivative of f(u) without the chain factor u' is the text
    // DerivativeBefore + "(u)" + DerivativeAfter; none without a rule
    // (logy has a rule of its own: its base is the variable "y").
    const char *DerivativeBefore;
    const char *DerivativeAfter;
    // An English name's Slovak twin, the same function under the other name
    // (tan is tg); none for the other rows.
    std::optional<TFunction> SlovakTwin = std::nullopt;
};

// The order matters: names are found by plain substring search in table
// order, so each name stands before every shorter name it contains; and a
// bracket group's functions are applied in this order.
inline constexpr auto FunctionTable = std::to_array<TFunctionInfo>({
    {u"arccoth", TFunction::Arccoth, false, false, "1/(1-", "^2)", TFunction::Arccotgh},
    {u"arccotgh", TFunction::Arccotgh, false, false, "1/(1-", "^2)"},
    {u"arccotg", TFunction::Arccotg, false, true, "-1/(", "^2+1)"},
    {u"arccot", TFunction::Arccot, false, true, "-1/(", "^2+1)", TFunction::Arccotg},
    {u"arctanh", TFunction::Arctanh, false, false, "1/(1-", "^2)", TFunction::Arctgh},
    {u"arctgh", TFunction::Arctgh, false, false, "1/(1-", "^2)"},
    {u"arctan", TFunction::Arctan, false, true, "1/(", "^2+1)", TFunction::Arctg},
    {u"arctg", TFunction::Arctg, false, true, "1/(", "^2+1)"},
    {u"cotanh", TFunction::Cotanh, false, false, "-1/sinh", "^2", TFunction::Cotgh},
    {u"cotgh", TFunction::Cotgh, false, false, "-1/sinh", "^2"},
    {u"cotan", TFunction::Cotan, false, true, "-1/sin", "^2", TFunction::Cotg},
    {u"cotg", TFunction::Cotg, false, true, "-1/sin", "^2"},
    {u"tanh", TFunction::Tanh, false, false, "1/cosh", "^2", TFunction::Tgh},
    {u"tgh", TFunction::Tgh, false, false, "1/cosh", "^2"},
    {u"tan", TFunction::Tan, false, true, "1/cos", "^2", TFunction::Tg},
    {u"tg", TFunction::Tg, false, true, "1/cos", "^2"},
    {u"arcsinh", TFunction::Arcsinh, false, false, "1/(1+", "^2)^(1/2)"},
    {u"arcsin", TFunction::Arcsin, false, true, "1/(1-", "^2)^(1/2)"},
    {u"arccosh", TFunction::Arccosh, false, false, "1/(", "^2-1)^(1/2)"},
    {u"arccos", TFunction::Arccos, false, true, "-1/(1-", "^2)^(1/2)"},
    {u"sinh", TFunction::Sinh, false, false, "cosh", ""},
    {u"cosh", TFunction::Cosh, false, false, "sinh", ""},
    {u"sin", TFunction::Sin, false, true, "cos", ""},
    {u"cos", TFunction::Cos, false, true, "-sin", ""},
    {u"abs", TFunction::Abs, true, false, "sign", ""},
    {u"sign", TFunction::Sign, false, false, nullptr, nullptr},
    {u"logy", TFunction::Logy, false, false, nullptr, nullptr},
    {u"log", TFunction::Log, false, false, "1/(", "*ln(10))"},
    {u"ln", TFunction::Ln, false, false, "1/(", ")"},
    {u"sqrt", TFunction::Sqrt, false, false, "1/(2*sqrt", ")"},
    {u"sqr", TFunction::Sqr, false, false, "2*", ""},
    {u"deg", TFunction::Deg, false, false, nullptr, nullptr},
    {u"dms", TFunction::Dms, false, false, nullptr, nullptr},
    {u"rnd", TFunction::Rnd, false, false, nullptr, nullptr},
});
constexpr int FunctionCount = int(FunctionTable.size());

namespace function_table_checks {
constexpr bool Contains(QStringView text, QStringView part) {
    for (qsizetype i = 0; i + part.size() <= text.size(); ++i) {
        qsizetype k = 0;
        while (k < part.size() && text[i + k] == part[k])
            ++k;
        if (k == part.size())
            return true;
    }
    return false;
}
constexpr bool InEnumOrder() {
    for (int i = 0; i < FunctionCount; ++i)
        if (int(FunctionTable[size_t(i)].Function) != i)
            return false;
    return true;
}
constexpr bool LongerNamesFirst() {
    for (int i = 0; i < FunctionCount; ++i)
        for (int j = 0; j < i; ++j)
            if (Contains(FunctionTable[size_t(i)].Name, FunctionTable[size_t(j)].Name))
                return false;
    return true;
}
constexpr bool SameText(const char *a, const char *b) {
    if (!a || !b)
        return a == b;
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}
// An English name and its Slovak twin are one function under two names: the
// same use of angles and of the number sets, the same derivative.
constexpr bool TwinsAlike() {
    for (const auto &f : FunctionTable) {
        if (!f.SlovakTwin)
            continue;
        const auto &t = FunctionTable[size_t(*f.SlovakTwin)];
        if (t.SlovakTwin || t.Function == f.Function || t.UsesAngleUnit != f.UsesAngleUnit ||
            t.InComplexSet != f.InComplexSet || !SameText(t.DerivativeBefore, f.DerivativeBefore) ||
            !SameText(t.DerivativeAfter, f.DerivativeAfter))
            return false;
    }
    return true;
}
} // namespace function_table_checks
static_assert(function_table_checks::InEnumOrder(), "a row of the function table out of the enum's order");
static_assert(function_table_checks::TwinsAlike(), "a function and its Slovak twin behave differently");
static_assert(function_table_checks::LongerNamesFirst(), "a function name after a shorter name it contains");

constexpr const TFunctionInfo &FunctionInfo(TFunction function) { return FunctionTable[size_t(function)]; }
inline QString FunctionName(TFunction function) { return FunctionInfo(function).Name.toString(); }

// The names in table order.
const QStringList &FunctionNames();
// The index of a whole function name (letter case ignored), or -1.
int FunctionIndex(QStringView name);
// For each function name, the 0-based position of its first occurrence in
// text (compared as written), or -1. Names are letters, so only the runs of
// letters are searched.
QList<int> FunctionOccurrences(const QString &text);
