#pragma once
// Entry of a trade: code and name.
#include "ui/basedata/CodedEntryForm.h"
#include "core/basedata/Trades.h"

namespace orvak::ui::basedata {

class TDE_RASTEH : public CodedEntryForm {
    Q_OBJECT
public:
    explicit TDE_RASTEH(startup::Session& session, QWidget* parent = nullptr);

protected:
    db::Fetched<qint64> proposedCode() override { return trades_.proposedCode(); }
    db::Fetched<QString> readName(qint64 code) override { return trades_.nameOf(code); }
    bool write(qint64 code, const QString& name, bool insert, startup::Prompt& prompt) override
    {
        return trades_.save(code, name, insert, prompt);
    }

private:
    orvak::basedata::Trades trades_;
};

} // namespace orvak::ui::basedata
