#include "uZatvorky.h"
namespace legacy {

namespace {

bool Stop(TChyba &err, QString &r, quint8 code) {
    r.clear();
    err.Code = code;
    err.SpanStart = 0;
    err.SpanEnd = 0;
    return false;
}

} // namespace

bool ReplaceBracketGroups(QString &expr, TChyba &err, QString &r, TGroupEvaluator evaluate,
                          TGroupReplacer replace) {
    while (expr.contains(QLatin1Char('('))) {
        const int open = LastPos(QStringLiteral("("), expr);
        const int close = PosEx(QStringLiteral(")"), expr, open + 1);
        if (close == 0)
            return Stop(err, r, 11);
        const QString inner = Copy(expr, open + 1, close - open - 1);
        if (inner.isEmpty())
            return Stop(err, r, 9);
        TChyba local;
        QString value;
        evaluate(inner, local, value);
        if (local.Code != 0) {
            err = local;
            r.clear();
            return false;
        }
        replace(expr, QLatin1Char('(') + inner + QLatin1Char(')'), value);
    }
    if (expr.contains(QLatin1Char(')')))
        return Stop(err, r, 10);
    return true;
}

} // namespace legacy