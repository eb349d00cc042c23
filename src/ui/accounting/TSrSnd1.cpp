#include "ui/accounting/TSrSnd1.h"

#include "ui/framework/Editors.h"
#include "ui/framework/ListScreen.h"
#include "ui/framework/MessageBoxes.h"
#include "core/util/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace orvak::ui::accounting {

namespace {

using orvak::accounting::AmountSide;
using orvak::accounting::InclusionChoice;
using orvak::accounting::VoucherCriteria;

QString numberText(qint64 n) { return n ? QString::number(n) : QString(); }

} // namespace

TSrSnd1::TSrSnd1(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("جستجو در اسناد"));
    setLayoutDirection(Qt::RightToLeft);
    resize(1100, 650);
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    int cell = 0;
    auto place = [&](const QString& label, QWidget* field) {
        fields->addWidget(new QLabel(label, this), cell / 4, (cell % 4) * 2);
        fields->addWidget(field, cell / 4, (cell % 4) * 2 + 1);
        ++cell;
    };
    auto line = [&](const QString& label) {
        auto* e = new QLineEdit(this);
        place(label, e);
        return e;
    };
    auto choice = [&](const QString& label, const QStringList& items) {
        auto* c = new QComboBox(this);
        c->addItems(items);
        place(label, c);
        return c;
    };
    words_ = line(QStringLiteral("كلمات شرح"));
    inHead_ = new QCheckBox(QStringLiteral("در شرح كلي سند"), this);
    place(QString(), inHead_);
    party_ = line(QStringLiteral("نام تفصيلي"));
    rangeKind_ = choice(QStringLiteral("محدوده"), {QStringLiteral("شماره سند"), QStringLiteral("تاريخ سند")});
    from_ = line(QStringLiteral("از"));
    to_ = line(QStringLiteral("تا"));
    inclusion_ = choice(QStringLiteral("شمول"), {QStringLiteral("شمول و خ. شمول"), QStringLiteral("خارج شمول"), QStringLiteral("غير خ. شمول")});
    kol_ = line(QStringLiteral("كد حساب كل"));
    moin_ = line(QStringLiteral("كد حساب معين"));
    tafsil_ = line(QStringLiteral("كد تفصيلي"));
    plan_ = line(QStringLiteral("كد طرح"));
    project_ = line(QStringLiteral("كد پروژه"));
    group_ = line(QStringLiteral("گروه معين"));
    chequeNo_ = line(QStringLiteral("شماره چك"));
    chequeDate1_ = new framework::JalaliDateEdit(this);
    place(QStringLiteral("تاريخ چك"), chequeDate1_);
    chequeDate2_ = new framework::JalaliDateEdit(this);
    place(QStringLiteral("تا تاريخ چك"), chequeDate2_);
    side_ = choice(QStringLiteral("نوع مبلغ"), {QStringLiteral("بدهكار"), QStringLiteral("بستانكار"), QStringLiteral("بد/بس")});
    side_->setCurrentIndex(2);
    amountFrom_ = line(QStringLiteral("از مبلغ"));
    amountTo_ = line(QStringLiteral("تا مبلغ"));
    layout->addLayout(fields);

    // F7 on a ledger field picks from the ledger lists.
    auto onF7 = [this](QLineEdit* field, std::function<void()> pick) {
        auto* key = new QShortcut(QKeySequence(Qt::Key_F7), field, nullptr, nullptr, Qt::WidgetShortcut);
        connect(key, &QShortcut::activated, this, std::move(pick));
    };
    onF7(kol_, [this] {
        if (const Pick r = pickGeneralLedger(this, session_))
            kol_->setText(r->current.value(QStringLiteral("CODE")).toString());
    });
    onF7(moin_, [this] {
        const std::optional<qint64> kol = util::parseWholeNumber(kol_->text());
        if (const Pick r = pickSubsidiaryLedger(this, session_, kol ? int(*kol) : -1)) {
            kol_->setText(r->current.value(QStringLiteral("KOL")).toString());
            moin_->setText(r->current.value(QStringLiteral("CODE")).toString());
        }
    });

    std::optional<io::ListDefinition> definition = orvak::accounting::VoucherSearch(session).list({});
    list_ = new framework::ListScreen(session, std::move(*definition), {}, this);
    layout->addWidget(list_, 1);

    auto* buttons = new QHBoxLayout;
    auto* run = new QPushButton(QStringLiteral("جستجو (F4)"), this);
    auto* show = new QPushButton(QStringLiteral("نمايش سند"), this);
    handBack_ = new QPushButton(QStringLiteral("ادامه (F10)"), this);
    auto* close = new QPushButton(QStringLiteral("خروج"), this);
    for (QPushButton* b : {run, show, handBack_, close})
        buttons->addWidget(b);
    buttons->addStretch();
    layout->addLayout(buttons);
    handBack_->hide();

    connect(run, &QPushButton::clicked, this, &TSrSnd1::search);
    connect(show, &QPushButton::clicked, this, &TSrSnd1::showCurrent);
    connect(handBack_, &QPushButton::clicked, this, &TSrSnd1::handBack);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(new QShortcut(QKeySequence(Qt::Key_F4), this), &QShortcut::activated, run, &QPushButton::click);
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        if (handBack_->isVisible())
            handBack();
    });
    connect(list_->grid(), &QTableView::doubleClicked, this, &TSrSnd1::showCurrent);
}

void TSrSnd1::setPicking(bool picking) { handBack_->setVisible(picking); }

VoucherCriteria TSrSnd1::criteria() const
{
    VoucherCriteria c;
    c.words = words_->text();
    c.wordsInHead = inHead_->isChecked();
    c.partyWords = party_->text();
    c.byDate = rangeKind_->currentIndex() == 1;
    c.from = from_->text();
    c.to = to_->text();
    c.inclusion = InclusionChoice(inclusion_->currentIndex());
    c.kol = kol_->text();
    c.moin = moin_->text();
    c.tafsil = tafsil_->text();
    c.plan = plan_->text();
    c.project = project_->text();
    c.subsidiaryGroup = group_->text();
    c.chequeNo = chequeNo_->text();
    c.chequeDate1 = chequeDate1_->isEmptyDate() ? QString() : chequeDate1_->text();
    c.chequeDate2 = chequeDate2_->isEmptyDate() ? QString() : chequeDate2_->text();
    c.side = AmountSide(side_->currentIndex());
    c.amountFrom = amountFrom_->text();
    c.amountTo = amountTo_->text();
    return c;
}

void TSrSnd1::setCriteria(const VoucherCriteria& c)
{
    words_->setText(c.words);
    inHead_->setChecked(c.wordsInHead);
    party_->setText(c.partyWords);
    rangeKind_->setCurrentIndex(c.byDate ? 1 : 0);
    from_->setText(c.from);
    to_->setText(c.to);
    inclusion_->setCurrentIndex(int(c.inclusion));
    kol_->setText(c.kol);
    moin_->setText(c.moin);
    tafsil_->setText(c.tafsil);
    plan_->setText(c.plan);
    project_->setText(c.project);
    group_->setText(c.subsidiaryGroup);
    chequeNo_->setText(c.chequeNo);
    chequeDate1_->setDate(c.chequeDate1);
    chequeDate2_->setDate(c.chequeDate2);
    side_->setCurrentIndex(int(c.side));
    amountFrom_->setText(c.amountFrom);
    amountTo_->setText(c.amountTo);
}

void TSrSnd1::applyPreset(const VoucherSearchPreset& preset)
{
    VoucherCriteria c;
    c.amountFrom = numberText(preset.amount);
    c.side = preset.side == VoucherSearchPreset::Side::Debit    ? AmountSide::Debit
        : preset.side == VoucherSearchPreset::Side::Credit      ? AmountSide::Credit
                                                                : AmountSide::Either;
    c.chequeNo = numberText(preset.chequeNo);
    c.kol = numberText(preset.kol);
    c.moin = numberText(preset.moin);
    c.tafsil = numberText(preset.tafsil);
    setCriteria(c);
}

bool TSrSnd1::search()
{
    QString why;
    const std::optional<io::ListDefinition> d = orvak::accounting::VoucherSearch(session_).list(criteria(), &why);
    if (!d) {
        framework::ShowError(why, this);
        return false;
    }
    // Without the year's database the grid stays empty: the session has said why.
    if (!session_.AccountingDbOpen())
        return true;
    list_->setQuery(d->sql);
    for (const io::ListParameter& p : d->parameters)
        list_->setParameter(p.name, p.value);
    return list_->reopen();
}

std::optional<FoundVoucherRow> TSrSnd1::currentRow() const
{
    const int row = list_->currentSourceRow();
    if (row < 0)
        return std::nullopt;
    const io::RowSet& rows = list_->model().rows();
    const int number = io::fieldValue(rows, row, QStringLiteral("SNDNO")).toInt();
    const int at = io::fieldValue(rows, row, QStringLiteral("ROW")).toInt();
    const db::Fetched<QList<orvak::accounting::VoucherRow>> all = orvak::accounting::Vouchers(session_).rows(number);
    for (const orvak::accounting::VoucherRow& r : all.value_or({})) {
        if (r.row == at)
            return FoundVoucherRow{r, io::fieldValue(rows, row, QStringLiteral("SNDDATE")).toString().trimmed()};
    }
    return std::nullopt;
}

void TSrSnd1::showCurrent()
{
    if (const std::optional<FoundVoucherRow> r = currentRow())
        showVoucher(this, session_, r->row.number);
}

void TSrSnd1::handBack()
{
    chosen_ = currentRow();
    if (chosen_)
        accept();
}

} // namespace orvak::ui::accounting
