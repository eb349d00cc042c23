#include "ui/basedata/TFrmChangeTafsilInfo.h"

#include "ui/framework/Doing.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace orvak::ui::basedata {

using namespace orvak::basedata;

TFrmChangeTafsilInfo::TFrmChangeTafsilInfo(startup::Session& session, QList<qint64> codes, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , codes_(std::move(codes))
{
    setWindowTitle(QStringLiteral("تغيير کلي اطلاعات تفصيلي اشخاص مشابه"));
    setLayoutDirection(Qt::RightToLeft);
    auto* form = new QFormLayout(this);
    nationalId = new QLineEdit(this);
    nationalId->setMaxLength(15);
    personKind = new QComboBox(this);
    personKind->addItems(personKinds());
    reportingType = new QComboBox(this);
    reportingType->addItems(reportingPersonTypes());
    reportingCategory = new QComboBox(this);
    for (const auto& [position, text] : reportingCategories())
        reportingCategory->addItem(text, position);
    nomineeCode = new QLineEdit(this);
    nomineeCode->setMaxLength(15);
    bourseCode = new QLineEdit(this);
    bourseCode->setMaxLength(8);
    auto* build = new QPushButton(QStringLiteral("توليد شناسه -->>"), this);
    form->addRow(QStringLiteral("تعداد تفصيلي هاي انتخابي"), new QLineEdit(QString::number(codes_.size()), this));
    form->addRow(QStringLiteral("شناسه/کد ملي"), nationalId);
    form->addRow(QStringLiteral("نوع شخص"), personKind);
    form->addRow(QStringLiteral("نوع شخص در سماد"), reportingType);
    form->addRow(QStringLiteral("طبقه شخص در سماد"), reportingCategory);
    form->addRow(build, nomineeCode);
    form->addRow(QStringLiteral("کد معاملاتي بورس"), bourseCode);
    auto* ok = new QPushButton(QStringLiteral("ادامه"), this);
    auto* cancel = new QPushButton(QStringLiteral("انصراف"), this);
    form->addRow(ok, cancel);
    connect(build, &QPushButton::clicked, this, &TFrmChangeTafsilInfo::buildNomineeCode);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (confirm())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

BulkPartyValues TFrmChangeTafsilInfo::values() const
{
    return {nationalId->text(), personKind->currentIndex() + 1, reportingType->currentIndex() + 1, reportingCategory->currentData().toInt(),
            nomineeCode->text(), bourseCode->text()};
}

void TFrmChangeTafsilInfo::buildNomineeCode()
{
    framework::MessagePrompt prompt(this);
    const NomineeCode n = orvak::basedata::buildNomineeCode(reportingCategory->currentText(), nationalId->text(), prompt);
    nationalId->setText(n.nationalId);
    nomineeCode->setText(n.code.left(15));
}

bool TFrmChangeTafsilInfo::confirm()
{
    framework::MessagePrompt prompt(this);
    return DetailAccounts(session_).bulkChange(codes_, values(), prompt);
}

} // namespace orvak::ui::basedata
