#pragma once
// Windows code page 1256, the code page of the treasury's and the banks' text files
// and of the family's stored passwords.
#include <QByteArray>
#include <QString>

namespace orvak::util {

struct Encoded1256 {
    QByteArray bytes;
    // Characters that have no code in 1256 (each written as '?'); empty when the
    // whole text was encoded.
    QString unencodable;
    bool ok() const { return unencodable.isEmpty(); }
};

// Persian Yeh is written as Arabic Yeh and Persian or Arabic-Indic digits as ASCII
// digits, as Windows does; anything else without a code is reported.
Encoded1256 encode1256(const QString& text);
QString decode1256(const QByteArray& bytes);

// The code of one character in 1256, or -1 when it has none.
int code1256(QChar c);

} // namespace orvak::util
