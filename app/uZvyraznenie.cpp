#include "uZvyraznenie.h"

#include <QtGlobal>

TZatvorkyPar FindBracketPair(const QString &s, int caret) {
    TZatvorkyPar pair;
    const int n = int(s.size());
    const int k = qBound(0, caret, n);
    const QChar *text = s.constData();

    // Leftwards: depth 1 means a "(" that nothing between it and the caret closes.
    int i = k;
    int d = 0;
    while (i > 0 && d != 1) {
        const QChar c = text[i - 1];
        if (c == QLatin1Char('('))
            ++d;
        else if (c == QLatin1Char(')'))
            --d;
        --i;
    }
    if (d == 1)
        pair.Open = i + 1;

    // Rightwards, the mirror image.
    int j = k + 1;
    int e = 0;
    while (j <= n && e != 1) {
        const QChar c = text[j - 1];
        if (c == QLatin1Char(')'))
            ++e;
        else if (c == QLatin1Char('('))
            --e;
        ++j;
    }
    if (e == 1)
        pair.Close = j - 1;
    return pair;
}

TZvyraznenieZatvoriek PlanBracketHighlight(const QString &s, int caret) {
    const TZatvorkyPar pair = FindBracketPair(s, caret);
    TZvyraznenieZatvoriek plan;
    if (pair.Open > 0) {
        plan.Bold1 = pair.Open - 1;
        if (pair.Close == 0)
            plan.Red = pair.Open - 1;
        else
            plan.Bold2 = pair.Close - 1;
    }
    return plan;
}
