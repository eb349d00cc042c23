#include "ui/basedata/TDE_CodeName.h"

#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::basedata {

TDE_CodeName::TDE_CodeName(orvak::basedata::NamedRegister& reg, const QString& title, const QString& nameCaption, int nameWidth,
                           QWidget* parent)
    : CodedEntry(title, QStringLiteral("کد"), [&reg] { return reg.proposedCode(); }, parent)
    , register_(reg)
{
    name = textField(this, nameWidth);
    form()->addRow(nameCaption, name);
}

void TDE_CodeName::addParent(const QString& caption, framework::CodeEdit* field)
{
    parentCode = field;
    form()->addRow(caption, field);
}

void TDE_CodeName::clearRow()
{
    name->clear();
    if (parentCode)
        parentCode->setCode(std::nullopt);
}

bool TDE_CodeName::loadRecord(const QVariant& key)
{
    const db::Fetched<orvak::basedata::NamedRow> row = register_.read(key.toLongLong());
    if (!row)
        return false;
    showCode(row->code);
    name->setText(row->name);
    if (parentCode)
        parentCode->setCode(row->parent ? std::optional<qint64>(row->parent) : std::nullopt);
    return true;
}

std::optional<QVariant> TDE_CodeName::saveRecord(QString* error)
{
    return saved([this](qint64 c, orvak::startup::Prompt& prompt) {
        orvak::basedata::NamedRow row;
        row.code = c;
        row.name = name->text();
        row.parent = parentCode ? parentCode->code().value_or(0) : 0;
        return register_.save(row, mode() == Mode::Insert, prompt);
    }, error);
}

} // namespace orvak::ui::basedata
