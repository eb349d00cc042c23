#include "ui/basedata/TDE_Shobeh.h"

#include "ui/basedata/Pickers.h"
#include "core/basedata/Branches.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::basedata {

TDE_Shobeh::TDE_Shobeh(orvak::startup::Session& session, QWidget* parent)
    : CodedEntry(QStringLiteral("شعبه"), QStringLiteral("کد"), [&session] { return orvak::basedata::Branches(session).proposedCode(); }, parent)
    , session_(session)
{
    branchCode = textField(this, 10);
    name = textField(this, 100);
    office = officeField(session, this);
    address = textField(this, 100);
    tel = textField(this, 100);
    city = textField(this, 100);
    grade = textField(this, 3);
    shetab = new QCheckBox(QStringLiteral("شتاب"), this);
    pinPad = new QCheckBox(QStringLiteral("پين پد"), this);
    atm = new QCheckBox(QStringLiteral("خودپرداز"), this);
    form()->addRow(QStringLiteral("کد شعبه"), branchCode);
    form()->addRow(QStringLiteral("نام شعبه"), name);
    form()->addRow(QStringLiteral("سرپرستي"), office);
    form()->addRow(QStringLiteral("نشاني"), address);
    form()->addRow(QStringLiteral("تلفن"), tel);
    form()->addRow(QStringLiteral("شهر"), city);
    form()->addRow(QStringLiteral("درجه"), grade);
    for (QCheckBox* b : {shetab, pinPad, atm})
        form()->addRow(QString(), b);
}

void TDE_Shobeh::clearRow()
{
    for (QLineEdit* f : {branchCode, name, address, tel, city, grade})
        f->clear();
    office->setCode(std::nullopt);
    for (QCheckBox* b : {shetab, pinPad, atm})
        b->setChecked(false);
}

bool TDE_Shobeh::loadRecord(const QVariant& key)
{
    const db::Fetched<orvak::basedata::Branch> b = orvak::basedata::Branches(session_).read(key.toLongLong());
    if (!b)
        return false;
    showCode(b->code);
    branchCode->setText(b->branchCode);
    name->setText(b->name);
    office->setCode(b->office > 0 ? std::optional<qint64>(b->office) : std::nullopt);
    address->setText(b->address);
    tel->setText(b->tel);
    city->setText(b->city);
    grade->setText(numberText(b->grade));
    shetab->setChecked(b->shetab);
    pinPad->setChecked(b->pinPad);
    atm->setChecked(b->atm);
    return true;
}

bool TDE_Shobeh::validate(QString* message)
{
    if (!CodedEntry::validate(message))
        return false;
    const std::optional<qint64> g = numberIn(grade);
    if (!g || *g < 0 || *g > 255) {
        *message = QStringLiteral("درجه شعبه بايد عددي از 0 تا 255 باشد");
        return false;
    }
    return true;
}

std::optional<QVariant> TDE_Shobeh::saveRecord(QString* error)
{
    return saved([this](qint64 c, orvak::startup::Prompt& prompt) {
        orvak::basedata::Branch b;
        b.code = c;
        b.branchCode = branchCode->text();
        b.name = name->text();
        b.office = office->code().value_or(0);
        b.address = address->text();
        b.tel = tel->text();
        b.city = city->text();
        b.grade = int(numberIn(grade).value_or(0));
        b.shetab = shetab->isChecked();
        b.pinPad = pinPad->isChecked();
        b.atm = atm->isChecked();
        return orvak::basedata::Branches(session_).save(b, mode() == Mode::Insert, prompt);
    }, error);
}

} // namespace orvak::ui::basedata
