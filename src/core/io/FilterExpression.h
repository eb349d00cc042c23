#pragma once
// The list filter: terms of a field, an operator and a value, joined by AND/OR
// ("و"/"يا"), with parentheses, LIKE and ranges. Parsed once, then evaluated on
// the rows in memory; user text never becomes SQL.
#include "core/io/ListData.h"

#include <QString>
#include <memory>
#include <optional>

namespace orvak::io {

class FilterExpression {
public:
    // nullopt with the standard message "جمله بندي اشتباه است" (and where) when the
    // text is not an expression over the given fields.
    static std::optional<FilterExpression> parse(const QString& text, const QStringList& fields, QString* error = nullptr);

    bool matches(const RowSet& rows, int row) const;
    QString text() const { return text_; }

    // Rows that pass, in the order of the given row numbers.
    std::vector<int> apply(const RowSet& rows, const std::vector<int>& order) const;

    struct Node;

private:
    QString text_;
    std::shared_ptr<const Node> root_;
};

// Pieces the filter dialog writes into the expression.
QString filterTerm(const QString& field, const QString& op, const QString& value, bool isText);
// A search for the word inside the field, as plain text: its quotes and the
// wildcards it holds match themselves ("[%]" and "[_]" in a LIKE value).
QString filterContains(const QString& field, const QString& word);
QString filterRange(const QString& field, const QString& low, const QString& high, bool isText);
QString filterJoin(const QString& expression, const QString& term, bool useAnd);

// Distinct values of a column that contain the typed text, for the value list.
QStringList distinctValues(const RowSet& rows, int column, const QString& containing, int limit = 500);

} // namespace orvak::io
