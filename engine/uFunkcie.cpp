#include "uFunkcie.h"

#include "uSpolocne.h"

#include <vector>

const QStringList &FunctionNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const TFunctionInfo &f : FunctionTable)
            list.append(f.Name.toString());
        return list;
    }();
    return names;
}

int FunctionIndex(QStringView name) {
    // The names by their first letter, in table order, so that a name is
    // compared only with the few that begin as it does (this runs for every
    // name of every text).
    static const std::array<std::vector<int>, 26> byFirst = [] {
        std::array<std::vector<int>, 26> table;
        for (int i = 0; i < FunctionCount; ++i)
            table[size_t(FunctionTable[size_t(i)].Name.at(0).unicode() - 'a')].push_back(i);
        return table;
    }();
    if (name.isEmpty() || !IsAsciiLetter(name.at(0)))
        return -1;
    for (const int i : byFirst[size_t(AsciiLower(name.at(0)).unicode() - 'a')])
        if (SameName(name, FunctionTable[size_t(i)].Name))
            return i;
    return -1;
}

QList<int> FunctionOccurrences(const QString &text) {
    QList<int> first(FunctionCount, -1);
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        if (!IsAsciiLetter(text.at(i))) {
            ++i;
            continue;
        }
        int end = i;
        while (end < n && IsAsciiLetter(text.at(end)))
            ++end;
        const QStringView run = QStringView(text).mid(i, end - i);
        for (int k = 0; k < FunctionCount; ++k) {
            const QStringView name = FunctionTable[size_t(k)].Name;
            if (first[k] >= 0 || name.size() > run.size())
                continue;
            const qsizetype p = run.indexOf(name);
            if (p >= 0)
                first[k] = i + int(p);
        }
        i = end;
    }
    return first;
}
