#pragma once
// What a reading of vouchers remembers: the last criteria in ReadACC.INI of the
// working folder, and the saved criteria of the table List4Get.
#include "core/deposits/VoucherReading.h"

namespace orvak::deposits {

// ReadACC.INI: year, month index, general ledger, subsidiary ledger, first and last
// voucher, the four words and the debit/credit choice, one a line.
QString readingFilePath(const QString& folder);
bool writeLastReading(const QString& folder, const ReadingCriteria& criteria, QString* error = nullptr);
// The fields a new screen takes back (ledgers, voucher range, words); nullopt for a
// missing, short or damaged file.
struct LastReading {
    int kol = 0;
    int moin = -1;
    QString from, to;
    std::array<QString, 4> words;
};
std::optional<LastReading> readLastReading(const QString& folder);

// A row of List4Get.
struct SavedCriteria {
    int section = 0;   // C: 1 "عمراني", 2 "جاري"
    int kol = 0;
    int moin = 0;
    std::array<QString, 4> words;
    ReadSide side = ReadSide::Credit;
};

class SavedReadingCriteria {
public:
    explicit SavedReadingCriteria(startup::Session& session);
    db::Fetched<QList<SavedCriteria>> all();   // Order By C,Kol,Moin
    // Refuses a row without a general ledger and one whose section and ledgers are saved already.
    bool add(const SavedCriteria& row, QString* error = nullptr);
    bool remove(int section, int kol, int moin, startup::Prompt& prompt, QString* error = nullptr);

private:
    startup::Session& session_;
};

} // namespace orvak::deposits
