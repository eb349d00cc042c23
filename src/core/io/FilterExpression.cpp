#include "core/io/FilterExpression.h"

#include "core/util/Numbers.h"
#include "core/util/TextKey.h"

#include <QRegularExpression>
#include <QSet>

namespace orvak::io {

struct FilterExpression::Node {
    enum Kind { And, Or, Not, Compare, Like, IsNull } kind = Compare;
    std::shared_ptr<const Node> left, right;
    int column = -1;
    QString op;
    QString value;
    bool valueIsNumber = false;
    double number = 0;
    QRegularExpression pattern;   // LIKE
};

namespace {

struct Token {
    enum Kind { Field, Text, Number, Op, LParen, RParen, Word, End } kind = End;
    QString text;
};

QString syntaxError() { return QStringLiteral("جمله بندي اشتباه است"); }

class Parser {
public:
    Parser(const QString& text, const QStringList& fields)
        : fields_(fields)
    {
        tokenize(util::normalizeDigits(text));
    }

    std::shared_ptr<const FilterExpression::Node> parse(QString* error)
    {
        if (!error_.isEmpty()) {
            *error = error_;
            return nullptr;
        }
        auto node = parseOr();
        if (node && peek().kind != Token::End)
            fail(QStringLiteral("«%1» اضافه است").arg(peek().text));
        if (!error_.isEmpty()) {
            *error = error_;
            return nullptr;
        }
        return node;
    }

private:
    using NodeP = std::shared_ptr<FilterExpression::Node>;

    void fail(const QString& why)
    {
        if (error_.isEmpty())
            error_ = syntaxError() + QStringLiteral(": ") + why;
    }

    void tokenize(const QString& t)
    {
        int i = 0;
        while (i < t.size()) {
            const QChar c = t[i];
            if (c.isSpace()) {
                ++i;
            } else if (c == QLatin1Char('[')) {
                const int end = t.indexOf(QLatin1Char(']'), i);
                if (end < 0)
                    return fail(QStringLiteral("«]» بسته نشده است"));
                tokens_.append({Token::Field, t.mid(i + 1, end - i - 1).trimmed()});
                i = end + 1;
            } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
                QString s;
                int j = i + 1;
                bool closed = false;
                while (j < t.size()) {
                    if (t[j] == c) {
                        if (j + 1 < t.size() && t[j + 1] == c) {
                            s += c;
                            j += 2;
                            continue;
                        }
                        closed = true;
                        break;
                    }
                    s += t[j++];
                }
                if (!closed)
                    return fail(QStringLiteral("نقل قول بسته نشده است"));
                tokens_.append({Token::Text, s});
                i = j + 1;
            } else if (c == QLatin1Char('(')) {
                tokens_.append({Token::LParen, QStringLiteral("(")});
                ++i;
            } else if (c == QLatin1Char(')')) {
                tokens_.append({Token::RParen, QStringLiteral(")")});
                ++i;
            } else if (QStringLiteral("=<>").contains(c)) {
                QString op(c);
                if (i + 1 < t.size() && (t[i + 1] == QLatin1Char('=') || (c == QLatin1Char('<') && t[i + 1] == QLatin1Char('>'))))
                    op += t[++i];
                tokens_.append({Token::Op, op});
                ++i;
            } else if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('.')) && i + 1 < t.size() && t[i + 1].isDigit())) {
                int j = i + 1;
                while (j < t.size() && (t[j].isDigit() || t[j] == QLatin1Char('.') || t[j] == QLatin1Char(',')))
                    ++j;
                tokens_.append({Token::Number, t.mid(i, j - i).remove(QLatin1Char(','))});
                i = j;
            } else {
                int j = i;
                while (j < t.size() && !t[j].isSpace() && !QStringLiteral("()[]'\"=<>").contains(t[j]))
                    ++j;
                if (j == i)
                    return fail(QStringLiteral("نويسه «%1» قابل فهم نيست").arg(c));
                tokens_.append({Token::Word, t.mid(i, j - i)});
                i = j;
            }
        }
    }

    const Token& peek() const
    {
        static const Token end;
        return pos_ < tokens_.size() ? tokens_[pos_] : end;
    }
    Token take() { return pos_ < tokens_.size() ? tokens_[pos_++] : Token{}; }
    bool isWord(const Token& t, std::initializer_list<const char16_t*> words) const
    {
        if (t.kind != Token::Word)
            return false;
        for (const char16_t* w : words) {
            if (t.text.compare(QString::fromUtf16(w), Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }

    NodeP parseOr()
    {
        NodeP left = parseAnd();
        while (left && isWord(peek(), {u"OR", u"يا"})) {
            take();
            auto n = std::make_shared<FilterExpression::Node>();
            n->kind = FilterExpression::Node::Or;
            n->left = left;
            n->right = parseAnd();
            if (!n->right)
                return nullptr;
            left = n;
        }
        return left;
    }

    NodeP parseAnd()
    {
        NodeP left = parseUnary();
        while (left && isWord(peek(), {u"AND", u"و"})) {
            take();
            auto n = std::make_shared<FilterExpression::Node>();
            n->kind = FilterExpression::Node::And;
            n->left = left;
            n->right = parseUnary();
            if (!n->right)
                return nullptr;
            left = n;
        }
        return left;
    }

    NodeP parseUnary()
    {
        if (isWord(peek(), {u"NOT"})) {
            take();
            auto n = std::make_shared<FilterExpression::Node>();
            n->kind = FilterExpression::Node::Not;
            n->left = parseUnary();
            return n->left ? n : nullptr;
        }
        if (peek().kind == Token::LParen) {
            take();
            NodeP inner = parseOr();
            if (!inner)
                return nullptr;
            if (take().kind != Token::RParen) {
                fail(QStringLiteral("«)» کم است"));
                return nullptr;
            }
            return inner;
        }
        return parseTerm();
    }

    NodeP parseTerm()
    {
        const Token field = take();
        if (field.kind != Token::Field && field.kind != Token::Word) {
            fail(QStringLiteral("نام قلم انتظار مي رفت"));
            return nullptr;
        }
        int column = -1;
        for (int i = 0; i < fields_.size(); ++i) {
            if (fields_[i].compare(field.text, Qt::CaseInsensitive) == 0)
                column = i;
        }
        if (column < 0) {
            fail(QStringLiteral("قلم «%1» وجود ندارد").arg(field.text));
            return nullptr;
        }
        auto n = std::make_shared<FilterExpression::Node>();
        n->column = column;
        if (isWord(peek(), {u"IS"})) {
            take();
            const bool negate = isWord(peek(), {u"NOT"});
            if (negate)
                take();
            if (!isWord(take(), {u"NULL"})) {
                fail(QStringLiteral("NULL انتظار مي رفت"));
                return nullptr;
            }
            n->kind = FilterExpression::Node::IsNull;
            if (!negate)
                return n;
            auto inv = std::make_shared<FilterExpression::Node>();
            inv->kind = FilterExpression::Node::Not;
            inv->left = n;
            return inv;
        }
        if (isWord(peek(), {u"LIKE"})) {
            take();
            const Token v = take();
            if (v.kind != Token::Text && v.kind != Token::Number) {
                fail(QStringLiteral("مقدار انتظار مي رفت"));
                return nullptr;
            }
            n->kind = FilterExpression::Node::Like;
            // % and _ are the wildcards; everything else matches itself.
            QString re;
            const QString key = util::searchKey(v.text);
            for (qsizetype i = 0; i < key.size(); ++i) {
                const QChar ch = key[i];
                // "[c]" is c itself, as on SQL Server: a plain-text search's wildcards.
                if (ch == QLatin1Char('[') && i + 2 < key.size() && key[i + 2] == QLatin1Char(']')) {
                    re += QRegularExpression::escape(QString(key[i + 1]));
                    i += 2;
                } else if (ch == QLatin1Char('%'))
                    re += QStringLiteral(".*");
                else if (ch == QLatin1Char('_'))
                    re += QLatin1Char('.');
                else
                    re += QRegularExpression::escape(QString(ch));
            }
            n->pattern = QRegularExpression(QLatin1Char('^') + re + QLatin1Char('$'), QRegularExpression::DotMatchesEverythingOption);
            return n;
        }
        const Token op = take();
        if (op.kind != Token::Op) {
            fail(QStringLiteral("عملگر انتظار مي رفت"));
            return nullptr;
        }
        n->op = op.text;
        const Token v = take();
        if (v.kind == Token::Number) {
            n->value = v.text;
            n->valueIsNumber = true;
            n->number = v.text.toDouble();
        } else if (v.kind == Token::Text) {
            n->value = v.text;
        } else if (isWord(v, {u"بله", u"TRUE"})) {
            n->value = QStringLiteral("1");
            n->valueIsNumber = true;
            n->number = 1;
        } else if (isWord(v, {u"خير", u"FALSE"})) {
            n->value = QStringLiteral("0");
            n->valueIsNumber = true;
            n->number = 0;
        } else {
            fail(QStringLiteral("مقدار انتظار مي رفت"));
            return nullptr;
        }
        return n;
    }

    QStringList fields_;
    QList<Token> tokens_;
    int pos_ = 0;
    QString error_;
};

bool compare(double a, double b, const QString& op)
{
    if (op == QLatin1String("="))
        return a == b;
    if (op == QLatin1String("<>"))
        return a != b;
    if (op == QLatin1String("<"))
        return a < b;
    if (op == QLatin1String(">"))
        return a > b;
    if (op == QLatin1String("<="))
        return a <= b;
    return a >= b;
}

bool evaluate(const FilterExpression::Node& n, const RowSet& rows, int row)
{
    using N = FilterExpression::Node;
    switch (n.kind) {
    case N::And:
        return evaluate(*n.left, rows, row) && evaluate(*n.right, rows, row);
    case N::Or:
        return evaluate(*n.left, rows, row) || evaluate(*n.right, rows, row);
    case N::Not:
        return !evaluate(*n.left, rows, row);
    case N::IsNull:
        return rows.isNull(row, n.column);
    case N::Like:
        return !rows.isNull(row, n.column) && n.pattern.match(util::searchKey(rows.text(row, n.column))).hasMatch();
    case N::Compare:
        if (rows.isNull(row, n.column))
            return false;
        if (n.valueIsNumber && rows.isNumeric(n.column))
            return compare(rows.number(row, n.column), n.number, n.op);
        {
            // Text (and Jalali dates, which compare as text); equality ignores the
            // Arabic/Persian letter forms the way searches do.
            const QString a = rows.text(row, n.column);
            if (n.op == QLatin1String("=") || n.op == QLatin1String("<>")) {
                const bool equal = util::searchKey(a.trimmed()) == util::searchKey(n.value.trimmed());
                return n.op == QLatin1String("=") ? equal : !equal;
            }
            return compare(double(a.compare(n.value)), 0.0, n.op);
        }
    }
    return false;
}

} // namespace

std::optional<FilterExpression> FilterExpression::parse(const QString& text, const QStringList& fields, QString* error)
{
    QString why;
    if (text.trimmed().isEmpty()) {
        if (error)
            *error = syntaxError();
        return std::nullopt;
    }
    Parser parser(text, fields);
    auto root = parser.parse(&why);
    if (!root) {
        if (error)
            *error = why;
        return std::nullopt;
    }
    FilterExpression f;
    f.text_ = text.trimmed();
    f.root_ = root;
    return f;
}

bool FilterExpression::matches(const RowSet& rows, int row) const { return root_ && evaluate(*root_, rows, row); }

std::vector<int> FilterExpression::apply(const RowSet& rows, const std::vector<int>& order) const
{
    std::vector<int> out;
    out.reserve(order.size() / 4);
    for (int r : order) {
        if (matches(rows, r))
            out.push_back(r);
    }
    return out;
}

QString filterTerm(const QString& field, const QString& op, const QString& value, bool isText)
{
    QString v = value;
    if (op.compare(QStringLiteral("LIKE"), Qt::CaseInsensitive) == 0) {
        v.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QStringLiteral("[%1] LIKE '%%2%'").arg(field, v);
    }
    if (v == QStringLiteral("بله") || v == QStringLiteral("خير"))
        return QStringLiteral("[%1] %2 %3").arg(field, op, v);
    if (isText) {
        v.replace(QLatin1Char('\''), QStringLiteral("''"));
        v = QLatin1Char('\'') + v + QLatin1Char('\'');
    }
    return QStringLiteral("[%1] %2 %3").arg(field, op, v);
}

QString filterContains(const QString& field, const QString& word)
{
    QString v;
    for (QChar ch : word.trimmed()) {
        if (ch == QLatin1Char('%') || ch == QLatin1Char('_') || ch == QLatin1Char('['))
            v += QLatin1Char('[') + QString(ch) + QLatin1Char(']');
        else if (ch == QLatin1Char('\''))
            v += QStringLiteral("''");
        else
            v += ch;
    }
    return QStringLiteral("[%1] LIKE '%%2%'").arg(field, v);
}

QString filterRange(const QString& field, const QString& low, const QString& high, bool isText)
{
    auto q = [&](QString v) {
        if (!isText)
            return v;
        v.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QLatin1Char('\'') + v + QLatin1Char('\'');
    };
    return QStringLiteral("([%1] >= %2 AND [%1] <= %3)").arg(field, q(low), q(high));
}

QString filterJoin(const QString& expression, const QString& term, bool useAnd)
{
    if (expression.trimmed().isEmpty())
        return term;
    return expression.trimmed() + (useAnd ? QStringLiteral(" و ") : QStringLiteral(" يا ")) + term;
}

QStringList distinctValues(const RowSet& rows, int column, const QString& containing, int limit)
{
    QStringList out;
    QSet<QString> seen;
    const QString key = util::searchKey(containing);
    for (int r = 0; r < rows.rowCount() && out.size() < limit; ++r) {
        if (rows.isNull(r, column))
            continue;
        const QString t = rows.text(r, column).trimmed();
        if (seen.contains(t) || (!key.isEmpty() && !util::searchKey(t).contains(key)))
            continue;
        seen.insert(t);
        out << t;
    }
    out.sort();
    return out;
}

} // namespace orvak::io
