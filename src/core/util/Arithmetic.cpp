#include "core/util/Arithmetic.h"

#include "core/util/Numbers.h"

#include <algorithm>
#include <cmath>

namespace orvak::util {

namespace {

class Parser {
public:
    explicit Parser(QString text) : text_(std::move(text)) {}

    std::optional<double> run(QString* error)
    {
        const std::optional<double> value = sum();
        skipSpaces();
        if (value && pos_ < text_.size())
            fail(QStringLiteral("عبارت نادرست است"));
        if (!error_.isEmpty()) {
            if (error)
                *error = error_;
            return std::nullopt;
        }
        return value;
    }

private:
    void skipSpaces()
    {
        while (pos_ < text_.size() && text_[pos_].isSpace())
            ++pos_;
    }
    bool take(std::initializer_list<char16_t> any)
    {
        skipSpaces();
        if (pos_ < text_.size() && std::find(any.begin(), any.end(), text_[pos_].unicode()) != any.end()) {
            ++pos_;
            return true;
        }
        return false;
    }
    QChar peek()
    {
        skipSpaces();
        return pos_ < text_.size() ? text_[pos_] : QChar();
    }
    std::nullopt_t fail(const QString& why)
    {
        if (error_.isEmpty())
            error_ = why;
        return std::nullopt;
    }

    std::optional<double> sum()
    {
        std::optional<double> left = product();
        while (left) {
            if (take({u'+'}))
                left = add(*left, product(), 1);
            else if (take({u'-', u'\u2212'}))
                left = add(*left, product(), -1);
            else
                break;
        }
        return left;
    }
    static std::optional<double> add(double left, std::optional<double> right, int sign)
    {
        return right ? std::optional<double>(left + sign * *right) : std::nullopt;
    }
    std::optional<double> product()
    {
        std::optional<double> left = factor();
        while (left) {
            if (take({u'*', u'\u00D7'})) {
                const std::optional<double> right = factor();
                left = right ? std::optional<double>(*left * *right) : std::nullopt;
            } else if (take({u'/', u'\u00F7'})) {
                const std::optional<double> right = factor();
                if (right && *right == 0)
                    return fail(QStringLiteral("تقسيم بر صفر ممکن نيست"));
                left = right ? std::optional<double>(*left / *right) : std::nullopt;
            } else {
                break;
            }
        }
        return left;
    }
    std::optional<double> factor()
    {
        if (take({u'-', u'\u2212'})) {
            const std::optional<double> v = factor();
            return v ? std::optional<double>(-*v) : std::nullopt;
        }
        if (take({u'+'}))
            return factor();
        if (take({u'('})) {
            const std::optional<double> v = sum();
            if (v && !take({u')'}))
                return fail(QStringLiteral("پرانتز بسته نشده است"));
            return v;
        }
        return number();
    }
    std::optional<double> number()
    {
        skipSpaces();
        QString digits;
        bool fraction = false;
        while (pos_ < text_.size()) {
            const QChar c = text_[pos_];
            if (c.isDigit()) {
                digits += c;
            } else if (c == QLatin1Char('.') || c == QChar(0x066B)) {
                if (fraction)
                    break;
                fraction = true;
                digits += QLatin1Char('.');
            } else if (c != QLatin1Char(',') && c != QChar(0x066C)) {
                break;
            }
            ++pos_;
        }
        bool ok = false;
        const double v = normalizeDigits(digits).toDouble(&ok);
        if (!ok)
            return fail(QStringLiteral("عبارت نادرست است"));
        return v;
    }

    QString text_;
    qsizetype pos_ = 0;
    QString error_;
};

} // namespace

std::optional<double> evaluateArithmetic(const QString& expression, QString* error)
{
    if (expression.trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("عبارتي وارد نشده است");
        return std::nullopt;
    }
    const std::optional<double> v = Parser(expression).run(error);
    if (v && !std::isfinite(*v)) {
        if (error)
            *error = QStringLiteral("حاصل بيش از اندازه بزرگ است");
        return std::nullopt;
    }
    return v;
}

QString formatArithmeticResult(double value)
{
    QString text = QString::number(std::abs(value), 'f', 10);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? text : text.left(dot);
    const QString rest = dot < 0 ? QString() : text.mid(dot);
    const bool negative = value < 0 && text != QLatin1String("0");
    return (negative ? QStringLiteral("-") : QString()) + groupThousands(whole) + rest;
}

} // namespace orvak::util
