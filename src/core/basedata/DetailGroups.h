#pragma once
// Groups of detail accounts (GROUP_TAFSILI) of the current section: a code, a
// name and the range of account numbers the group covers.
#include "core/basedata/CodedTable.h"

namespace orvak::basedata {

struct DetailGroup {
    qint64 code = 0;
    QString name;
    std::optional<qint64> from, to;   // TAFSIL_AZ, TAFSIL_TA
};

class DetailGroups {
public:
    explicit DetailGroups(startup::Session& session);

    db::Fetched<qint64> proposedCode() const { return nextCode(session_, rules().table); }
    db::Fetched<DetailGroup> read(qint64 code) const;
    db::Fetched<QString> nameOf(qint64 code) const { return nameByCode(session_, rules().table, rules().nameColumn, code); }
    // "Select * From GROUP_TAFSILI Where CI=:CI": the entry screen's group combo.
    db::Fetched<QList<std::pair<qint64, QString>>> ofSection() const { return namesByCode(session_, rules().table, rules().nameColumn); }
    bool save(const DetailGroup& group, bool insert, startup::Prompt& prompt);
    bool remove(qint64 code, startup::Prompt& prompt) { return removeRecord(session_, rules(), code, prompt); }

    // What the group picker hands back: one code, or "انتخابي:" and the marked codes.
    static QString pickedText(const QStringList& codes);

private:
    static RegisterRules rules();
    startup::Session& session_;
};

} // namespace orvak::basedata
