#pragma once
// "ورود اطلاعات": one parameter of contracts in the kind the list shows.
#include "ui/basedata/CodedEntryForm.h"
#include "core/basedata/Parameters.h"

namespace orvak::ui::basedata {

class TDE_PARAMS_PAY : public CodedEntryForm {
    Q_OBJECT
public:
    TDE_PARAMS_PAY(startup::Session& session, int kind, QWidget* parent = nullptr);

protected:
    db::Fetched<qint64> proposedCode() override { return params_.proposedCode(kind_); }
    db::Fetched<QString> readName(qint64 code) override { return params_.nameOf(kind_, code); }
    bool write(qint64 code, const QString& name, bool insert, startup::Prompt& prompt) override
    {
        return params_.save(kind_, code, name, insert, prompt);
    }

private:
    orvak::basedata::Parameters params_;
    int kind_;
};

} // namespace orvak::ui::basedata
