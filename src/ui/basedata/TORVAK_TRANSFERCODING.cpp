#include "ui/basedata/TORVAK_TRANSFERCODING.h"

#include "core/util/Jalali.h"
#include "ui/framework/Doing.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::basedata {

using namespace orvak::basedata;

TORVAK_TRANSFERCODING::TORVAK_TRANSFERCODING(orvak::startup::Session& session, QWidget* parent)
    : QWidget(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("فراخواني اطلاعات اورواک از زير سيستم ها"));
    setLayoutDirection(Qt::RightToLeft);
    year = new QComboBox(this);
    for (int y : transferYears())
        year->addItem(QString::number(y), y);
    year->setCurrentIndex(year->findData(session.CurrentYear() > 0 ? session.CurrentYear() : util::CurrentJalaliYear()));
    section = new QComboBox(this);
    section->addItem(QString(), -1);
    for (const SourceSection& s : sourceSections())
        section->addItem(s.caption, s.section);
    left = new QListWidget(this);
    right = new QListWidget(this);
    count = new QLabel(this);
    connect(left, &QListWidget::currentRowChanged, right, [this](int r) { if (r >= 0 && r < right->count()) right->setCurrentRow(r); });
    connect(right, &QListWidget::currentRowChanged, left, [this](int r) { if (r >= 0 && r < left->count()) left->setCurrentRow(r); });

    auto* fromAcc = new QGroupBox(QStringLiteral("1- انتقال اطلاعات  کدينگ از برنامه هاي حسابداري اورواک"), this);
    auto* a = new QGridLayout(fromAcc);
    a->addWidget(new QLabel(QStringLiteral("سال مالي"), fromAcc), 0, 0);
    a->addWidget(year, 0, 1);
    const std::pair<const char*, AccountingKind> accButtons[] = {{"انتقال  پيمانکاران", AccountingKind::DetailAccounts},
                                                                {"انتقال  پروژه ها", AccountingKind::Projects},
                                                                {"انتقال قراردادها", AccountingKind::Contracts},
                                                                {"انتقال  طرح ها", AccountingKind::Plans}};
    int col = 0;
    for (const auto& [text, kind] : accButtons) {
        auto* b = new QPushButton(QString::fromUtf8(text), fromAcc);
        connect(b, &QPushButton::clicked, this, [this, k = kind] { fromAccounting(k); });
        a->addWidget(b, 1, col++);
    }
    auto* between = new QGroupBox(QStringLiteral("2- تبادل اطلاعات  کدينگ بين بخش هاي مالي برنامه سپرده ها و تضمينات"), this);
    auto* b2 = new QGridLayout(between);
    b2->addWidget(new QLabel(QStringLiteral("از بخش"), between), 0, 0);
    b2->addWidget(section, 0, 1);
    const std::pair<const char*, SectionKind> secButtons[] = {{"انتقال  پيمانکاران", SectionKind::DetailAccounts},
                                                             {"انتقال  پروژه ها", SectionKind::Projects},
                                                             {"انتقال قراردادها", SectionKind::Contracts}};
    col = 0;
    for (const auto& [text, kind] : secButtons) {
        auto* b = new QPushButton(QString::fromUtf8(text), between);
        connect(b, &QPushButton::clicked, this, [this, k = kind] { betweenSections(k); });
        b2->addWidget(b, 1, col++);
    }
    auto* lists = new QHBoxLayout;
    lists->addWidget(left);
    lists->addWidget(right);
    auto* box = new QVBoxLayout(this);
    box->addWidget(fromAcc);
    box->addWidget(between);
    box->addLayout(lists, 1);
    box->addWidget(count);
}

void TORVAK_TRANSFERCODING::showResult(const TransferResult& r)
{
    left->clear();
    right->clear();
    left->addItems(r.left);
    right->addItems(r.right);
    count->setText(r.conflicts > 0 ? QString::number(r.conflicts) : QString());
}

TransferResult TORVAK_TRANSFERCODING::fromAccounting(AccountingKind kind)
{
    framework::MessagePrompt prompt(this);
    const TransferResult r = CodingTransfer(session_).fromAccounting(kind, year->currentData().toInt(), prompt);
    showResult(r);
    return r;
}

TransferResult TORVAK_TRANSFERCODING::betweenSections(SectionKind kind)
{
    framework::MessagePrompt prompt(this);
    const TransferResult r = CodingTransfer(session_).betweenSections(kind, section->currentData().toInt(), prompt);
    showResult(r);
    return r;
}

} // namespace orvak::ui::basedata
