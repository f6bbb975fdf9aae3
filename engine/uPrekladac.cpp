#include "uPrekladac.h"

#include "uCisla.h"

#include <QSet>
#include <QVarLengthArray>

#include <algorithm>
#include <optional>

namespace prekladac {

namespace {

// --- tokens -------------------------------------------------------------------

enum class TTok : quint8 {
    Number,   // Index: the literal
    Slot,     // Index: the free name
    Invalid,  // a malformed part
    Function, // Index: the function (TFunction)
    WordOp,   // Index: the word (TWordOperator)
    Plus,
    Minus,
    Star,
    Slash,
    Caret,
    Bang,
    Percent,
    Open,
    Close,
};

struct TToken {
    TTok Kind;
    qint32 Index = 0;
};

// The Index of an Invalid token that is a lone "e" of the complex set.
constexpr qint32 LoneE = 1;
// The Index of the Plus of the "+0" appended after the text: no sign of
// what stands before it, and never dropped as one.
constexpr qint32 AppendedPlus = 1;

bool IsNumberStart(QChar c) { return IsAsciiDigit(c) || c == QLatin1Char(',') || c == QLatin1Char('.'); }

// A number's character as the evaluators read it: either separator is the
// context's.
QChar NumberChar(QChar c, QChar separator) { return IsDecimalSeparator(c) ? separator : c; }

// True when the run of letters and digits is a word operator followed by a
// number's characters ("mod", "div2"): only in the real set.
bool IsWordOperatorRun(QStringView run, TNumberSet set) { return IsWordOperator(run, WordTailWithExp, set); }

// Where the scanner puts the names it reads as variables when it collects
// them instead of reading their values: each once, letter case ignored.
class TNameList {
public:
    // keep false: the names are only passed over (the parts of a text are
    // wanted, not its names).
    explicit TNameList(QStringList &list, bool keep = true) : m_list(list), m_keep(keep) {}

    void Add(QStringView name) {
        if (!m_keep)
            return;
        // A handful of names is compared directly; many go through a set.
        if (m_list.size() < 16) {
            for (const QString &listed : std::as_const(m_list))
                if (SameName(listed, name))
                    return;
            m_list.append(name.toString());
            if (m_list.size() == 16)
                for (const QString &listed : std::as_const(m_list))
                    m_lower.insert(AsciiLower(listed));
            return;
        }
        QString lower = name.toString();
        for (QChar &c : lower)
            c = AsciiLower(c);
        if (m_lower.contains(lower))
            return;
        m_lower.insert(lower);
        m_list.append(name.toString());
    }

private:
    QStringList &m_list;
    bool m_keep;
    QSet<QString> m_lower;
};

class TScanner {
public:
    // lines: the context's variables ("name=value"), none without a source.
    // names: when given, the variables are listed there instead of being
    // read, and the text is scanned as it is once they have values.
    TScanner(const TEvaluationContext &context, const QStringList &lines, const QStringList &freeNames,
             std::vector<TToken> &out, QString &literalText, std::vector<std::pair<qint32, qint32>> &literals,
             TNameList *names = nullptr)
        : m_context(context), m_free(freeNames), m_out(out), m_literalText(literalText), m_literals(literals),
          m_lines(lines), m_names(names), m_values(names || !lines.isEmpty()) {}

    // Scans s (spaces removed). Inside a value put in for a constant or a
    // variable, names stand for nothing.
    void Scan(const QString &s, bool insideValue) {
        const int n = int(s.size());
        int i = 0;
        while (i < n) {
            const QChar c = s.at(i);
            m_tokenStart = i;
            const int start = i;
            const size_t tokens = m_out.size();
            if (c == QLatin1Char(' ')) {
                ++i; // what StripBlanks left beside a word operator: it ends a name
            } else if (c == QLatin1Char('$')) {
                i = Dollar(s, i, insideValue);
            } else if (IsNumberStart(c)) {
                i = Number(s, i);
            } else if (IsAsciiLetter(c)) {
                i = Name(s, i, insideValue);
            } else {
                Put(Operator(c));
                ++i;
            }
            if (m_parts)
                m_parts->push_back(TTextPart{PartKind(c, tokens), start, i});
        }
    }

    // Where each token begins in the text scanned (the text itself, not a
    // value put in for a name: for a scan that collects names).
    void RecordStarts(std::vector<qint32> *starts) { m_starts = starts; }

    // The "+0" after the text, as tokens of their own: no part of the text
    // reads it as its own ("5e" takes no "+0" as its exponent, "5 nad" no
    // 0 as its second operand).
    void AppendPlusZero() {
        Put(TTok::Plus, AppendedPlus);
        if (m_names) {
            Put(TTok::Number);
            return;
        }
        const qint32 start = qint32(m_literalText.size());
        m_literalText += QLatin1Char('0');
        m_literals.emplace_back(start, 1);
        Put(TTok::Number, qint32(m_literals.size() - 1));
    }

    // Where Scan writes the parts of the text it reads (none: not written).
    void RecordParts(std::vector<TTextPart> *parts) { m_parts = parts; }

private:
    const TEvaluationContext &m_context;
    const QStringList &m_free;
    std::vector<TToken> &m_out;
    QString &m_literalText;
    std::vector<std::pair<qint32, qint32>> &m_literals;
    const QStringList &m_lines;
    TNameList *m_names;
    bool m_values; // names stand for variables (there are variables, or names are collected)
    std::vector<TTextPart> *m_parts = nullptr;
    // The variables' names, indexed at the first lookup where the lines are
    // many: each name is then found at once, not searched for through all.
    std::optional<TLineValues> m_valueIndex;
    TConstantFinder m_constants{m_context.Constants}; // likewise the user constants
    std::vector<qint32> *m_starts = nullptr;
    qint32 m_tokenStart = 0;

    QString ValueOfVariable(QStringView name) {
        constexpr qsizetype FewLines = 16;
        if (m_lines.size() <= FewLines)
            return ValueOfName(m_lines, name.toString());
        if (!m_valueIndex)
            m_valueIndex.emplace(m_lines);
        return m_valueIndex->Value(name);
    }

    void Put(TTok kind, qint32 index = 0) {
        m_out.push_back(TToken{kind, index});
        if (m_starts)
            m_starts->push_back(m_tokenStart);
    }

    // The kind of the part that began with c and whose first token (if any)
    // is m_out[token].
    TTextPartKind PartKind(QChar c, size_t token) const {
        if (c == QLatin1Char(' '))
            return TTextPartKind::Blank;
        if (c == QLatin1Char('$'))
            return TTextPartKind::Constant;
        if (IsNumberStart(c))
            return TTextPartKind::Number;
        if (IsAsciiLetter(c) && token < m_out.size()) {
            switch (m_out[token].Kind) {
            case TTok::Function: return TTextPartKind::Function;
            case TTok::WordOp: return TTextPartKind::WordOperator;
            default: return TTextPartKind::Name;
            }
        }
        switch (c.unicode()) {
        case '(': return TTextPartKind::Open;
        case ')': return TTextPartKind::Close;
        default: return InSet(c, OperatorChars) ? TTextPartKind::Operator : TTextPartKind::Other;
        }
    }

    // The index of the free name that name is, or -1.
    int FreeSlot(QStringView name) const {
        for (int k = 0; k < m_free.size(); ++k)
            if (SameName(name, m_free.at(k)))
                return k;
        return -1;
    }

    static TTok Operator(QChar c) {
        switch (c.unicode()) {
        case '+': return TTok::Plus;
        case '-': return TTok::Minus;
        case '*': return TTok::Star;
        case '/': return TTok::Slash;
        case '^': return TTok::Caret;
        case '!': return TTok::Bang;
        case '%': return TTok::Percent;
        case '(': return TTok::Open;
        case ')': return TTok::Close;
        default: return TTok::Invalid;
        }
    }

    // A number: s[i, j) in lower case.
    void PutLiteral(const QString &s, int i, int j) {
        if (m_names) { // names are collected: no number is read
            Put(TTok::Number);
            return;
        }
        const qint32 start = qint32(m_literalText.size());
        // Written in place (the compiler reserves the text's length): an
        // append per number cost more than the copy itself.
        m_literalText.resize(start + (j - i));
        QChar *text = m_literalText.data() + start;
        const QChar separator = m_context.Separator();
        for (int k = 0; k < j - i; ++k)
            text[k] = AsciiLower(NumberChar(s.at(i + k), separator));
        m_literals.emplace_back(start, j - i);
        Put(TTok::Number, qint32(m_literals.size() - 1));
    }

    // A value put in for a reference: a bracket group of its tokens.
    void PutValue(QString value) {
        value.remove(QLatin1Char(' '));
        Put(TTok::Open);
        Scan(value, true);
        Put(TTok::Close);
    }

    int Dollar(const QString &s, int i, bool insideValue) {
        const int end = DollarNameEnd(s, i);
        const QStringView ref = QStringView(s).mid(i, end - i);
        if (m_names) { // a constant's value holds no variable
            Put(TTok::Invalid);
            return end;
        }
        const int found = insideValue ? -1 : m_constants.Find(ref);
        if (found < 0)
            Put(TTok::Invalid);
        else
            PutValue(m_context.Constants->Value(found));
        return end;
    }

    // A number: digits, separators, exponent letters and a sign right after
    // an exponent letter; in the complex set a literal with the imaginary
    // unit and the exponential form.
    int Number(const QString &s, int i) {
        const int n = int(s.size());
        int j = i;
        if (m_context.NumberSet == TNumberSet::Complex) {
            j = ComplexLiteralEnd(s, i);
        } else {
            while (j < n) {
                const QChar c = AsciiLower(s.at(j));
                // An "e" after anything but a digit, a separator or an "e"
                // begins a name where names stand for variables.
                const bool exponent =
                    c == QLatin1Char('e') && (!m_values || j == i || IsNumberStart(AsciiLower(s.at(j - 1))) ||
                                              AsciiLower(s.at(j - 1)) == QLatin1Char('e'));
                // The modulo set reads a sign after an exponent letter as an
                // operator (its numbers are whole).
                const bool part =
                    IsNumberStart(c) || exponent ||
                    ((c == QLatin1Char('+') || c == QLatin1Char('-')) && j > i &&
                     AsciiLower(s.at(j - 1)) == QLatin1Char('e') && m_context.NumberSet != TNumberSet::Modulo);
                if (!part)
                    break;
                ++j;
            }
        }
        PutLiteral(s, i, j);
        return j;
    }

    int ComplexLiteralEnd(const QString &s, int i) const {
        const QChar unit = m_context.ImaginaryUnit;
        const int n = int(s.size());
        int j = i;
        while (j < n) {
            const QChar c = AsciiLower(s.at(j));
            const QChar before = j > 0 ? AsciiLower(s.at(j - 1)) : QChar();
            const bool empty = j == i;
            // The unit after a sign or "^" belongs to the literal only as
            // the unit with its coefficient: a longer name there is a name.
            const bool unitHere =
                c == unit && !empty &&
                (before == QLatin1Char('+') || before == QLatin1Char('-') || before == QLatin1Char('^')) &&
                (!m_values || IsUnitRun(s, j));
            // A sign after an exponent letter that follows a digit and comes
            // before one is the exponent's ("1E-20", as results are shown);
            // elsewhere an "e" and a sign are no number ("2e-j45").
            const bool exponentSign = (c == QLatin1Char('+') || c == QLatin1Char('-')) && before == QLatin1Char('e') &&
                                      j - 2 >= i && IsNumberStart(AsciiLower(s.at(j - 2))) && j + 1 < n &&
                                      IsAsciiDigit(s.at(j + 1));
            const bool take =
                IsNumberStart(c) || (c == unit && empty) || unitHere || exponentSign ||
                ((c == QLatin1Char('+') || c == QLatin1Char('-')) && before == QLatin1Char('^')) ||
                (c == QLatin1Char('e') && !empty && (IsNumberStart(before) || before == QLatin1Char('e'))) ||
                (c == QLatin1Char('^') && before == QLatin1Char('e'));
            if (!take)
                break;
            ++j;
        }
        return j;
    }

    // Whether the letters and digits from i are the imaginary unit with its
    // coefficient ("j", "j4").
    bool IsUnitRun(const QString &s, int i) const {
        int j = i;
        while (j < s.size() && (IsAsciiLetter(s.at(j)) || IsAsciiDigit(s.at(j))))
            ++j;
        return IsImaginaryUnitToken(AsciiLower(s.mid(i, j - i)), m_context.ImaginaryUnit);
    }

    int Name(const QString &s, int i, bool insideValue) {
        const int n = int(s.size());
        int j = i;
        while (j < n && (IsAsciiLetter(s.at(j)) || IsAsciiDigit(s.at(j))))
            ++j;
        // Names are short: their lower case goes to a buffer on the stack.
        QChar buffer[64];
        QString longRun;
        const int length = j - i;
        QChar *lower = buffer;
        if (length > 64) {
            longRun.resize(length);
            lower = longRun.data();
        }
        for (int k = 0; k < length; ++k)
            lower[k] = AsciiLower(s.at(i + k));
        const QStringView run(lower, length);

        TFunction function{};
        switch (NameKind(run, m_context, &function)) {
        case TNameKind::Function:
            Put(TTok::Function, qint32(function));
            if (m_names && function == TFunction::Logy && FreeSlot(u"y") < 0)
                m_names->Add(u"y"); // the base of logy is the variable "y"
            return j;
        case TNameKind::WordOperator:
            Put(TTok::WordOp, WordOperatorAt(run));
            if (j == i + 3 || IsNumberStart(s.at(i + 3)))
                return i + 3;   // a number may follow, and may run on past the name
            Put(TTok::Invalid); // an exponent letter where the number should be
            return j;
        case TNameKind::LoneE:
            Put(TTok::Invalid, LoneE); // no number: not even the base of a power
            return j;
        case TNameKind::ImaginaryUnit: {
            const int end = ComplexLiteralEnd(s, i);
            PutLiteral(s, i, end);
            return end;
        }
        case TNameKind::Variable: break;
        }
        // A variable.
        const int slot = FreeSlot(run);
        if (slot >= 0 && !insideValue) {
            Put(TTok::Slot, slot);
            return j;
        }
        if (insideValue) {
            Put(TTok::Invalid);
            return j;
        }
        if (m_names) {
            m_names->Add(QStringView(s).mid(i, length)); // as typed
            Put(TTok::Invalid);
            return j;
        }
        if (m_values) {
            PutValue(ValueOfVariable(run));
            return j;
        }
        // Without any variable a name stands for nothing, and the names of
        // functions and word operators written together with other letters
        // or digits are taken out of it from the left ("2sin30",
        // "5mod3div2").
        return GluedNames(s, i);
    }

    int GluedNames(const QString &s, int i) {
        const int n = int(s.size());
        bool invalid = false;
        // A number before letters that are no word operator as a whole
        // multiplies them, even where they begin with one ("7modcosh7").
        if (!m_out.empty() && (m_out.back().Kind == TTok::Number || m_out.back().Kind == TTok::Close ||
                               m_out.back().Kind == TTok::Bang || m_out.back().Kind == TTok::Percent)) {
            int j = i;
            while (j < n && IsAsciiLetter(s.at(j)))
                ++j;
            const QString run = AsciiLower(s.mid(i, j - i));
            if (m_context.NumberSet == TNumberSet::Real && WordOperatorAt(run) >= 0 &&
                !IsWordOperatorRun(run, m_context.NumberSet))
                Put(TTok::Star);
        }
        while (i < n && IsAsciiLetter(s.at(i))) {
            const QStringView rest = QStringView(s).mid(i);
            int found = -1;
            for (int f = 0; f < FunctionCount && found < 0; ++f)
                if (rest.startsWith(FunctionTable[size_t(f)].Name, Qt::CaseInsensitive))
                    found = f;
            if (found >= 0) {
                if (invalid)
                    Put(TTok::Invalid);
                invalid = false;
                Put(TTok::Function, found);
                i += int(FunctionTable[size_t(found)].Name.size());
                continue;
            }
            if (m_context.NumberSet == TNumberSet::Real) {
                const int word = WordOperatorAt(rest);
                if (word >= 0) {
                    if (invalid)
                        Put(TTok::Invalid);
                    invalid = false;
                    Put(TTok::WordOp, word);
                    i += 3;
                    continue;
                }
            }
            if (m_context.NumberSet == TNumberSet::Complex && AsciiLower(s.at(i)) == m_context.ImaginaryUnit)
                break; // the imaginary unit starts a literal
            invalid = true;
            ++i;
        }
        if (invalid)
            Put(TTok::Invalid);
        if (i < n && m_context.NumberSet == TNumberSet::Complex && AsciiLower(s.at(i)) == m_context.ImaginaryUnit) {
            const int end = ComplexLiteralEnd(s, i);
            PutLiteral(s, i, end);
            return end;
        }
        return i;
    }
};

// --- parsing ------------------------------------------------------------------

// The order of the stages in a group.
enum TStage : int {
    StageFunction = 1,
    StagePercent,
    StagePower,
    StageFactorial,
    StageBinomial,
    StageIntegerDivision,
    StageProduct,
    StageSum,
};

// The order of the instructions within a stage (the sort key after the
// stage): the first that fails gives the error. An operator's key comes from
// the position of its token, growing from the left (powers: from the right);
// keys are even, so that a step that runs just before an operator (the sign
// of its right operand, a factorial taken as the base of a power, a product
// of two operands side by side) takes the odd key below it. Functions go by
// the table's order, then from the left.
struct TOrderKey {
    static constexpr qint64 FromLeft(qint32 pos) { return 2LL * pos; }
    static constexpr qint64 FromRight(qint32 pos) { return -2LL * pos; }
    static constexpr qint64 JustBefore(qint64 key) { return key - 1; }
    static constexpr qint64 Function(qint32 function, qint32 pos) { return qint64(function) * (qint64(1) << 32) + pos; }
};

enum class TItemKind : quint8 { Operand, Function, WordOp, Plus, Minus, Star, Slash, Caret, Bang, Percent };

struct TItem {
    TItemKind Kind;
    qint32 Pos; // index of its token: the order of the text
    // The register of an operand; a function (TFunction) or a word
    // (TWordOperator); AppendedPlus for the Plus of the appended "+0".
    qint32 Value = 0;
};

// An instruction with its place in the order of the stages.
struct TPlaced {
    int Stage;
    qint64 Key;
    TInstruction Instruction;
};

struct TGroup {
    qint32 Open = -1; // the token index of its "(", -1 for the whole text
    bool Closed = false;
    QVarLengthArray<TItem, 16> Items;
    qint32 Result = -1; // register of its value
};

class TCompiler {
public:
    TCompiler(TProgram &program, std::vector<TItem> &items, std::vector<TPlaced> &placed)
        : m_p(program), m_items(items), m_placed(placed) {}

    qint32 NewRegister() { return m_p.RegisterCount++; }

    qint32 Invalid() {
        const qint32 r = NewRegister();
        m_p.InvalidRegisters.push_back(r);
        return r;
    }

    qint32 InvalidLoneE() {
        const qint32 r = NewRegister();
        m_p.InvalidRegisters.push_back(r);
        m_p.NoBaseRegisters.push_back(r);
        return r;
    }

    qint32 Zero() {
        const qint32 r = NewRegister();
        m_p.ZeroRegisters.push_back(r);
        return r;
    }

    // Compiles the items of one group into m_p.Code; returns the register of
    // its value.
    qint32 CompileGroup(const QVarLengthArray<TItem, 16> &items, bool top) {
        m_items.assign(items.begin(), items.end());
        m_placed.clear();
        const TNumberSet set = m_p.Set;
        const bool real = set == TNumberSet::Real;

        if (m_items.empty()) {
            const qint32 r = NewRegister();
            m_p.Code.push_back(TInstruction{.Op = TOp::Fail, .Code = TErrorCode::EmptyBrackets, .Dst = r});
            return r;
        }

        // A "+" written after an operator is no sign (real numbers and
        // fractions); a leading "+" neither, except in the complex set,
        // where it adds to 0. The appended "+0" stays what it is, so that
        // an operator at the end has no operand.
        if (real || set == TNumberSet::Modulo) {
            size_t w = 0;
            for (size_t i = 0; i < m_items.size(); ++i) {
                const TItem item = m_items[i];
                if (item.Kind == TItemKind::Plus) {
                    if (w == 0)
                        continue;
                    const TItemKind before = m_items[w - 1].Kind;
                    if (real && item.Value != AppendedPlus &&
                        (before == TItemKind::Star || before == TItemKind::Slash || before == TItemKind::Plus ||
                         before == TItemKind::Minus || before == TItemKind::WordOp))
                        continue;
                }
                m_items[w++] = item;
            }
            m_items.resize(w);
        }

        BindFunctions();
        if (real)
            BindPercents();
        else
            for (TItem &item : m_items)
                if (item.Kind == TItemKind::Percent || item.Kind == TItemKind::Bang ||
                    (set != TNumberSet::Real && item.Kind == TItemKind::WordOp))
                    item = TItem{TItemKind::Operand, item.Pos, Invalid()};

        m_at = 0;
        qint32 value = ParseSum();
        while (m_at < int(m_items.size())) {
            // Whatever is left joins as a malformed factor.
            const int before = m_at;
            const qint32 more = ParseSum();
            if (m_at == before)
                ++m_at;
            const qint32 pos = m_items[size_t(std::min(before, int(m_items.size()) - 1))].Pos;
            value = Place(StageProduct, TOrderKey::FromLeft(pos), TOp::Multiply, value, more);
        }

        std::sort(m_placed.begin(), m_placed.end(), [](const TPlaced &a, const TPlaced &b) {
            if (a.Stage != b.Stage)
                return a.Stage < b.Stage;
            return a.Key != b.Key ? a.Key < b.Key : a.Instruction.Dst < b.Instruction.Dst;
        });
        for (const TPlaced &placed : m_placed)
            m_p.Code.push_back(placed.Instruction);
        if (!top)
            return value;
        const qint32 end = NewRegister();
        m_p.Code.push_back(TInstruction{.Op = TOp::Final, .Dst = end, .A = value});
        return end;
    }

private:
    TProgram &m_p;
    std::vector<TItem> &m_items;
    std::vector<TPlaced> &m_placed;
    int m_at = 0;

    qint32 Place(int stage, qint64 key, TOp op, qint32 a, qint32 b = -1, TFunction function = {}) {
        const qint32 dst = NewRegister();
        m_placed.push_back(
            TPlaced{stage, key, TInstruction{.Op = op, .Function = function, .Dst = dst, .A = a, .B = b}});
        return dst;
    }

    // A function name takes the operand that follows it; functions run
    // first, in the order of the function table and then of the text.
    void BindFunctions() {
        const TNumberSet set = m_p.Set;
        size_t w = 0;
        for (size_t i = 0; i < m_items.size(); ++i) {
            const TItem item = m_items[i];
            if (item.Kind != TItemKind::Function) {
                m_items[w++] = item;
                continue;
            }
            const bool usable = (set == TNumberSet::Real && m_p.Functions) ||
                                (set == TNumberSet::Complex && FunctionInfo(TFunction(item.Value)).InComplexSet);
            if (!usable) {
                m_items[w++] = TItem{TItemKind::Operand, item.Pos, Invalid()};
                continue;
            }
            qint32 argument;
            if (i + 1 < m_items.size() && m_items[i + 1].Kind == TItemKind::Operand) {
                argument = m_items[i + 1].Value;
                ++i;
            } else {
                argument = Invalid();
            }
            const qint64 key = TOrderKey::Function(item.Value, item.Pos);
            const qint32 value = Place(StageFunction, key, TOp::Function, argument, -1, TFunction(item.Value));
            m_items[w++] = TItem{TItemKind::Operand, item.Pos, value};
        }
        m_items.resize(w);
    }

    // "%" takes the operand before it; "+ B %" and "- B %" (not at the start
    // of the group) multiply by (100 + B) / 100 and (100 - B) / 100.
    void BindPercents() {
        size_t w = 0;
        for (size_t i = 0; i < m_items.size(); ++i) {
            const TItem item = m_items[i];
            if (item.Kind != TItemKind::Percent) {
                m_items[w++] = item;
                continue;
            }
            qint32 operand;
            if (w > 0 && m_items[w - 1].Kind == TItemKind::Operand) {
                operand = m_items[w - 1].Value;
                --w;
            } else {
                operand = Invalid();
            }
            TOp op = TOp::PercentPlain;
            if (w >= 2 && (m_items[w - 1].Kind == TItemKind::Plus || m_items[w - 1].Kind == TItemKind::Minus)) {
                op = m_items[w - 1].Kind == TItemKind::Plus ? TOp::PercentPlus : TOp::PercentMinus;
                m_items[w - 1].Kind = TItemKind::Star;
            }
            const qint32 percent = Place(StagePercent, TOrderKey::FromLeft(item.Pos), op, operand);
            m_items[w++] = TItem{TItemKind::Operand, item.Pos, percent};
        }
        m_items.resize(w);
    }

    bool At(TItemKind kind) const { return m_at < int(m_items.size()) && m_items[size_t(m_at)].Kind == kind; }
    const TItem &Current() const { return m_items[size_t(m_at)]; }
    bool AtWord(TWordOperator word) const { return At(TItemKind::WordOp) && TWordOperator(Current().Value) == word; }

    // The sign of an operand written right after an operator.
    template <typename F>
    qint32 Signed(F operand, int stage, qint64 key) {
        if (!At(TItemKind::Minus))
            return operand();
        ++m_at;
        const qint32 x = operand();
        return Place(stage, TOrderKey::JustBefore(key), TOp::Negate, x);
    }

    qint32 Primary() {
        if (At(TItemKind::Operand))
            return m_items[size_t(m_at++)].Value;
        return Invalid();
    }

    qint32 PowerBase() {
        qint32 x = Primary();
        // A factorial as the base of a power is taken with the power.
        if (At(TItemKind::Bang) && m_at + 1 < int(m_items.size()) &&
            m_items[size_t(m_at + 1)].Kind == TItemKind::Caret) {
            const qint32 caret = m_items[size_t(m_at + 1)].Pos;
            ++m_at;
            x = Place(StagePower, TOrderKey::JustBefore(TOrderKey::FromRight(caret)), TOp::Factorial, x);
        }
        return x;
    }

    // Powers from the right; a sign after "^" belongs to the whole exponent.
    qint32 PowerChain() {
        const qint32 first = PowerBase();
        if (!At(TItemKind::Caret))
            return first; // no power: nothing to gather
        std::vector<qint32> bases{first};
        std::vector<qint32> carets;
        std::vector<bool> signs{false};
        while (At(TItemKind::Caret)) {
            carets.push_back(Current().Pos);
            ++m_at;
            const bool sign = At(TItemKind::Minus);
            if (sign)
                ++m_at;
            signs.push_back(sign);
            bases.push_back(PowerBase());
        }
        qint32 r = bases.back();
        for (size_t k = carets.size(); k-- > 0;) {
            const qint64 key = TOrderKey::FromRight(carets[k]);
            if (signs[k + 1])
                r = Place(StagePower, TOrderKey::JustBefore(key), TOp::Negate, r);
            r = Place(StagePower, key, TOp::Power, bases[k], r);
        }
        return r;
    }

    qint32 FactorialLevel() {
        qint32 x = PowerChain();
        while (At(TItemKind::Bang)) {
            x = Place(StageFactorial, TOrderKey::FromLeft(Current().Pos), TOp::Factorial, x);
            ++m_at;
        }
        return x;
    }

    qint32 BinomialLevel() {
        qint32 x = FactorialLevel();
        while (AtWord(TWordOperator::Nad)) {
            const qint64 key = TOrderKey::FromLeft(Current().Pos);
            ++m_at;
            const qint32 k = Signed([this] { return FactorialLevel(); }, StageBinomial, key);
            x = Place(StageBinomial, key, TOp::Binomial, x, k);
        }
        return x;
    }

    qint32 IntegerDivisionLevel() {
        qint32 x = BinomialLevel();
        while (AtWord(TWordOperator::Div) || AtWord(TWordOperator::Mod)) {
            const TOp op = AtWord(TWordOperator::Div) ? TOp::IntegerDivide : TOp::Remainder;
            const qint64 key = TOrderKey::FromLeft(Current().Pos);
            ++m_at;
            const qint32 y = Signed([this] { return BinomialLevel(); }, StageIntegerDivision, key);
            x = Place(StageIntegerDivision, key, op, x, y);
        }
        return x;
    }

    qint32 Product() {
        qint32 x = IntegerDivisionLevel();
        for (;;) {
            if (At(TItemKind::Star) || At(TItemKind::Slash)) {
                const TOp op = At(TItemKind::Star) ? TOp::Multiply : TOp::Divide;
                const qint64 key = TOrderKey::FromLeft(Current().Pos);
                ++m_at;
                const qint32 y = Signed([this] { return IntegerDivisionLevel(); }, StageProduct, key);
                x = Place(StageProduct, key, op, x, y);
            } else if (At(TItemKind::Operand)) {
                // Two operands side by side multiply.
                const qint64 key = TOrderKey::JustBefore(TOrderKey::FromLeft(Current().Pos));
                const qint32 y = IntegerDivisionLevel();
                x = Place(StageProduct, key, TOp::Multiply, x, y);
            } else {
                return x;
            }
        }
    }

    qint32 ParseSum() {
        qint32 x;
        if (At(TItemKind::Minus) || At(TItemKind::Plus)) {
            // A leading sign: 0 - term (or 0 + term in the complex set).
            const TOp op = At(TItemKind::Minus) ? TOp::Subtract : TOp::Add;
            const qint64 key = TOrderKey::FromLeft(Current().Pos);
            ++m_at;
            const qint32 term = Product();
            x = Place(StageSum, key, op, Zero(), term);
        } else {
            x = Product();
        }
        while (At(TItemKind::Plus) || At(TItemKind::Minus)) {
            const TOp op = At(TItemKind::Plus) ? TOp::Add : TOp::Subtract;
            const qint64 key = TOrderKey::FromLeft(Current().Pos);
            ++m_at;
            const qint32 y = Signed([this] { return Product(); }, StageSum, key);
            x = Place(StageSum, key, op, x, y);
        }
        return x;
    }
};

TItem ItemOf(const TToken &t, qint32 pos, TCompiler &compiler, const std::vector<qint32> &literalRegisters,
             const std::vector<qint32> &slotRegisters) {
    switch (t.Kind) {
    case TTok::Number: return TItem{TItemKind::Operand, pos, literalRegisters[size_t(t.Index)]};
    case TTok::Slot: return TItem{TItemKind::Operand, pos, slotRegisters[size_t(t.Index)]};
    case TTok::Function: return TItem{TItemKind::Function, pos, t.Index};
    case TTok::WordOp: return TItem{TItemKind::WordOp, pos, t.Index};
    case TTok::Plus: return TItem{TItemKind::Plus, pos, t.Index};
    case TTok::Minus: return TItem{TItemKind::Minus, pos};
    case TTok::Star: return TItem{TItemKind::Star, pos};
    case TTok::Slash: return TItem{TItemKind::Slash, pos};
    case TTok::Caret: return TItem{TItemKind::Caret, pos};
    case TTok::Bang: return TItem{TItemKind::Bang, pos};
    case TTok::Percent: return TItem{TItemKind::Percent, pos};
    default: return TItem{TItemKind::Operand, pos, t.Index == LoneE ? compiler.InvalidLoneE() : compiler.Invalid()};
    }
}

// What a compilation works with besides the program. A thread keeps one and
// reuses its memory from one text to the next.
struct TScratch {
    bool Busy = false;
    std::vector<TToken> Tokens;
    std::vector<std::pair<qint32, qint32>> Literals;
    std::vector<qint32> LiteralRegisters;
    std::vector<TGroup> Groups; // the first GroupCount are in use
    size_t GroupCount = 0;
    std::vector<size_t> Open;
    std::vector<TItem> Items;
    std::vector<TPlaced> Placed;

    TGroup &NewGroup() {
        if (GroupCount == Groups.size())
            Groups.emplace_back();
        TGroup &g = Groups[GroupCount++];
        g.Open = -1;
        g.Closed = false;
        g.Items.clear();
        g.Result = -1;
        return g;
    }
};

void CompileWith(TScratch &scratch, const QString &text, const TEvaluationContext &context,
                 const QStringList &freeNames, TProgram &program) {
    program.Set = context.NumberSet;
    program.Functions = !(context.NumberSet == TNumberSet::Real && context.Fractions);
    program.Separator = context.Separator();
    program.AngleUnit = context.AngleUnit;
    program.Modulus = context.Modulus;
    program.ImaginaryUnit = context.ImaginaryUnit;
    program.ExactWholeNumbers = context.ExactWholeNumbers;
    program.RegisterCount = 0;
    program.LiteralText.truncate(0);
    program.Literals.clear();
    program.InvalidRegisters.clear();
    program.NoBaseRegisters.clear();
    program.ZeroRegisters.clear();
    program.SlotRegisters.clear();
    program.Code.clear();
    program.Result = -1;
    program.LogyBaseCode = TErrorCode::None;
    program.LogyBase = 0;

    const QString s = StripBlanks(text, context.NumberSet);
    std::vector<TToken> &tokens = scratch.Tokens;
    tokens.clear();
    tokens.reserve(size_t(s.size()) + 2);
    std::vector<std::pair<qint32, qint32>> &literals = scratch.Literals;
    literals.clear();
    program.LiteralText.reserve(s.size() + 1);
    const QStringList lines = context.Variables ? context.Variables->Lines() : QStringList();
    TScanner scanner(context, lines, freeNames, tokens, program.LiteralText, literals);
    scanner.Scan(s, false);
    scanner.AppendPlusZero();

    scratch.Items.clear();
    scratch.Placed.clear();
    TCompiler compiler(program, scratch.Items, scratch.Placed);
    std::vector<qint32> &literalRegisters = scratch.LiteralRegisters;
    literalRegisters.resize(literals.size());
    program.Literals.reserve(literals.size());
    for (size_t k = 0; k < literals.size(); ++k) {
        literalRegisters[k] = compiler.NewRegister();
        program.Literals.push_back(TLiteral{literals[k].first, literals[k].second, literalRegisters[k]});
    }
    for (qsizetype k = 0; k < freeNames.size(); ++k)
        program.SlotRegisters.push_back(compiler.NewRegister());

    // The base of logy: the value of the context's variable "y" (a value
    // "y" is none), read as one number; looked up only where logy is written.
    const bool logy = std::any_of(tokens.begin(), tokens.end(), [](const TToken &t) {
        return t.Kind == TTok::Function && TFunction(t.Index) == TFunction::Logy;
    });
    if (logy) {
        QString base = lines.isEmpty() ? QString() : ValueOfName(lines, QStringLiteral("y")).remove(QLatin1Char(' '));
        for (QChar &c : base)
            c = NumberChar(c, program.Separator);
        if (base.isEmpty() || base == QLatin1String("y"))
            program.LogyBaseCode = TErrorCode::MissingValue;
        else if (!TryStrToFloat(base, program.LogyBase, program.Separator))
            program.LogyBaseCode = TErrorCode::UnreadableValue;
    }

    // Bracket groups: each becomes a list of items in which an inner group is
    // one operand. A ")" that closes nothing is remembered.
    scratch.GroupCount = 0;
    scratch.NewGroup().Items.reserve(qsizetype(tokens.size()));
    std::vector<TGroup> &groups = scratch.Groups;
    std::vector<size_t> &open = scratch.Open;
    open.assign(1, 0);
    program.Code.reserve(tokens.size() + 4);
    bool stray = false;
    for (size_t k = 0; k < tokens.size(); ++k) {
        const TToken &t = tokens[k];
        if (t.Kind == TTok::Open) {
            TGroup &g = scratch.NewGroup();
            g.Open = qint32(k);
            g.Result = compiler.NewRegister();
            open.push_back(scratch.GroupCount - 1);
        } else if (t.Kind == TTok::Close) {
            if (open.size() == 1) {
                stray = true;
                continue;
            }
            TGroup &g = groups[open.back()];
            g.Closed = true;
            const qint32 result = g.Result;
            const qint32 pos = g.Open;
            open.pop_back();
            groups[open.back()].Items.push_back(TItem{TItemKind::Operand, pos, result});
        } else {
            groups[open.back()].Items.push_back(
                ItemOf(t, qint32(k), compiler, literalRegisters, program.SlotRegisters));
        }
    }

    // The groups from the last "(" to the first (the order in which they
    // were opened, reversed), then the whole text.
    for (size_t g = scratch.GroupCount; g-- > 1;) {
        TGroup &group = groups[g];
        if (!group.Closed) {
            program.Code.push_back(
                TInstruction{.Op = TOp::Fail, .Code = TErrorCode::UnclosedBracket, .Dst = group.Result});
            continue;
        }
        const qint32 value = compiler.CompileGroup(group.Items, false);
        // The group's value goes to the register its parent reads.
        program.Code.push_back(TInstruction{.Op = TOp::GroupEnd, .Dst = group.Result, .A = value});
    }
    if (stray)
        program.Code.push_back(
            TInstruction{.Op = TOp::Fail, .Code = TErrorCode::StrayClose, .Dst = compiler.NewRegister()});
    program.Result = compiler.CompileGroup(groups[0].Items, true);
}

} // namespace

void Compile(const QString &text, const TEvaluationContext &context, const QStringList &freeNames, TProgram &program) {
    thread_local TScratch reused;
    if (reused.Busy) { // a source of values that compiles in turn
        TScratch own;
        CompileWith(own, text, context, freeNames, program);
        return;
    }
    reused.Busy = true;
    struct TRelease {
        TScratch &s;
        ~TRelease() { s.Busy = false; }
    } release{reused};
    CompileWith(reused, text, context, freeNames, program);
    if (reused.Tokens.capacity() > 65536) { // what a long text took is given back
        reused = TScratch();
        reused.Busy = true;
    }
}

TProgram Compile(const QString &text, const TEvaluationContext &context, const QStringList &freeNames) {
    TProgram program;
    Compile(text, context, freeNames, program);
    return program;
}

} // namespace prekladac

void CollectVariableNames(const QString &expr, const TEvaluationContext &context, QStringList &list,
                          const QString &excludedName) {
    list.clear();
    if (!HoldsLetter(expr))
        return;
    // The scanner of the evaluator reads the text, as it will once the
    // variables have values; what it would look up it lists.
    using namespace prekladac;
    thread_local std::vector<TToken> tokens;
    thread_local QString literalText;
    thread_local std::vector<std::pair<qint32, qint32>> literals;
    tokens.clear();
    literalText.truncate(0);
    literals.clear();
    const QStringList none;
    const QStringList excluded = excludedName.isEmpty() ? QStringList() : QStringList{excludedName};
    TNameList names(list);
    TScanner(context, none, excluded, tokens, literalText, literals, &names)
        .Scan(StripBlanks(expr, context.NumberSet), false);
    if (tokens.capacity() > 65536) { // what a long text took is given back
        tokens = std::vector<TToken>();
        literalText = QString();
        literals = std::vector<std::pair<qint32, qint32>>();
    }
}

bool FindWordOperatorWithoutOperand(const QString &stripped, const TEvaluationContext &context, TChyba &err) {
    if (context.NumberSet != TNumberSet::Real)
        return false; // only the real set has word operators
    bool word = false;
    for (int i = 0; i + 3 <= stripped.size() && !word; ++i)
        word = WordOperatorAt(QStringView(stripped).mid(i, 3)) >= 0;
    if (!word)
        return false;
    // The tokens as the evaluator reads them, names not looked up.
    using namespace prekladac;
    std::vector<TToken> tokens;
    std::vector<qint32> starts;
    QString literalText;
    std::vector<std::pair<qint32, qint32>> literals;
    QStringList names;
    TNameList nameList(names);
    const QStringList none;
    TScanner scanner(context, none, none, tokens, literalText, literals, &nameList);
    scanner.RecordStarts(&starts);
    scanner.Scan(stripped, false);
    for (size_t k = 0; k < tokens.size(); ++k) {
        if (tokens[k].Kind != TTok::WordOp)
            continue;
        // A sign may stand before the operand (the check's rules on pairs of
        // operators have seen to what follows it).
        size_t next = k + 1;
        if (next < tokens.size() && (tokens[next].Kind == TTok::Plus || tokens[next].Kind == TTok::Minus))
            ++next;
        TErrorCode code = TErrorCode::None;
        if (next == tokens.size()) {
            code = TErrorCode::TrailingOperator;
        } else {
            switch (tokens[next].Kind) {
            case TTok::Close: code = TErrorCode::OperatorBeforeClose; break;
            case TTok::Star:
            case TTok::Slash:
            case TTok::Caret:
            case TTok::Bang:
            case TTok::Percent:
            case TTok::WordOp: code = TErrorCode::TwoOperators; break;
            default: break; // an operand
            }
        }
        if (code == TErrorCode::None)
            continue;
        err.Code = code;
        err.SpanStart = starts[k];
        err.SpanEnd = starts[k] + 3;
        return true;
    }
    return false;
}

void ReadTextParts(const QString &text, std::vector<TTextPart> &parts) {
    using namespace prekladac;
    parts.clear();
    // The scanner as the collector of names runs it (names stand for
    // variables, no value is looked up), with the names passed over.
    std::vector<TToken> tokens;
    tokens.reserve(size_t(text.size()));
    QString literalText;
    std::vector<std::pair<qint32, qint32>> literals;
    const QStringList none;
    QStringList unused;
    TNameList names(unused, false);
    const TEvaluationContext context(QLatin1Char('.'));
    TScanner scanner(context, none, none, tokens, literalText, literals, &names);
    scanner.RecordParts(&parts);
    scanner.Scan(text, false);
}
