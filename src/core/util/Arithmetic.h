#pragma once
// The calculator of the tools menu: the four operations with brackets over numbers
// typed with ASCII, Persian or Arabic-Indic digits.
#include <QString>
#include <optional>

namespace orvak::util {

// "12 + 3 × (4 - 1) ÷ 2": * and × multiply, / and ÷ divide, "." and "٫" mark the
// fraction, "," and "٬" group thousands. nullopt with the reason in Persian for a
// malformed expression or a division by zero.
std::optional<double> evaluateArithmetic(const QString& expression, QString* error = nullptr);

// The result as the calculator shows and copies it: thousands grouped, at most ten
// decimals, no trailing zeros.
QString formatArithmeticResult(double value);

} // namespace orvak::util
