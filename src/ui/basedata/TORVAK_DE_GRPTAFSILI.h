#pragma once
// Entry of a group of detail accounts: code, name and the range of account numbers.
#include "ui/basedata/CodedEntryForm.h"
#include "core/basedata/DetailGroups.h"

namespace orvak::ui::basedata {

class TORVAK_DE_GRPTAFSILI : public CodedEntryForm {
    Q_OBJECT
public:
    explicit TORVAK_DE_GRPTAFSILI(startup::Session& session, QWidget* parent = nullptr);
    QLineEdit* from = nullptr;
    QLineEdit* to = nullptr;

protected:
    db::Fetched<qint64> proposedCode() override { return groups_.proposedCode(); }
    db::Fetched<QString> readName(qint64 code) override { return groups_.nameOf(code); }
    bool write(qint64 code, const QString& name, bool insert, startup::Prompt& prompt) override;
    void clearMore() override;
    bool loadMore(qint64 code) override;
    bool validate(QString* message) override;

private:
    orvak::basedata::DetailGroups groups_;
};

} // namespace orvak::ui::basedata
