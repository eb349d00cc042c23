#pragma once
// A run of pre-printed deposit receipts ("تعيين شماره سريال قبض سپرده"): the numbers
// the office's receipt book holds and the next one to use.
#include <QString>
#include <QtGlobal>

namespace orvak::deposits {

struct ReceiptSerial {
    qint64 first = 0;          // "اولين شماره قبض سپرده"
    qint64 last = 0;           // "آخرين شماره قبض سپرده"
    qint64 next = 0;           // the next number to use
    QString series;            // "سري قبض سپرده"
    QString book;              // "شماره دسته قبض"
    QString date;              // receipt date, YYYY/MM/DD; empty: none typed
    bool changeDate = false;       // "تاريخ قبض سپرده هم تغيير کند"
    bool dateFromCheque = false;   // "تاريخ قبض سپرده همان تاريخ چک باشد."
};

} // namespace orvak::deposits
