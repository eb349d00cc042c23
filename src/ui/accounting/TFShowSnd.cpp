#include "ui/accounting/TFShowSnd.h"

#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ReportPreview.h"
#include "core/accounting/VoucherSearch.h"
#include "core/letters/LetterFooter.h"
#include "core/util/Numbers.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvak::ui::accounting {

namespace {

QString code(const std::optional<int>& v) { return v ? QString::number(*v) : QString(); }

} // namespace

TFShowSnd::TFShowSnd(startup::Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("نمايش اسناد حسابداري "));
    setLayoutDirection(Qt::RightToLeft);
    resize(1000, 560);
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("شماره سند"), this));
    number_ = new QLineEdit(this);
    number_->setMaximumWidth(110);
    top->addWidget(number_);
    auto* show = new QPushButton(QStringLiteral("نمايش"), this);
    top->addWidget(show);
    head_ = new QLabel(this);
    head_->setWordWrap(true);
    top->addWidget(head_, 1);
    layout->addLayout(top);

    rows_ = new QTableWidget(0, 13, this);
    rows_->setHorizontalHeaderLabels({QStringLiteral("رديف"), QStringLiteral("كل"), QStringLiteral("نام حساب كل"), QStringLiteral("معين"),
                                      QStringLiteral("نام حساب معين"), QStringLiteral("تفصيلي"), QStringLiteral("نام تفصيلي"), QStringLiteral("پروژه"),
                                      QStringLiteral("طرح"), QStringLiteral("شرح"), QStringLiteral("بدهكار"), QStringLiteral("بستانكار"),
                                      QStringLiteral("شماره و تاريخ چك")});
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rows_->verticalHeader()->hide();
    layout->addWidget(rows_, 1);

    auto* bottom = new QHBoxLayout;
    debit_ = new QLabel(this);
    credit_ = new QLabel(this);
    difference_ = new QLabel(this);
    for (QLabel* l : {debit_, credit_, difference_})
        bottom->addWidget(l);
    bottom->addStretch();
    word_ = new QLineEdit(this);
    word_->setPlaceholderText(QStringLiteral("كلمه در شرح"));
    bottom->addWidget(word_);
    auto* find = new QPushButton(QStringLiteral("جستجو"), this);
    bottom->addWidget(find);
    auto* print = new QPushButton(QStringLiteral("چاپ"), this);
    bottom->addWidget(print);
    auto* close = new QPushButton(QStringLiteral("خروج"), this);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    auto showTyped = [this] {
        const std::optional<int> n = orvak::accounting::voucherNumber(number_->text());
        if (!n) {
            framework::ShowInfo(QStringLiteral("شماره سند را وارد كنيد"), this);
            return;
        }
        showNumber(*n);
    };
    connect(show, &QPushButton::clicked, this, showTyped);
    connect(number_, &QLineEdit::returnPressed, this, showTyped);
    connect(find, &QPushButton::clicked, this, [this] {
        if (!findWord(word_->text()))
            framework::ShowInfo(QStringLiteral(" يافت نشــد "), this);
    });
    connect(word_, &QLineEdit::returnPressed, find, &QPushButton::click);
    connect(print, &QPushButton::clicked, this, &TFShowSnd::print);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    fill();
}

bool TFShowSnd::showNumber(int number)
{
    number_->setText(QString::number(number));
    const db::Fetched<orvak::accounting::VoucherSheet> read = orvak::accounting::readVoucherSheet(session_, number);
    sheet_ = read.value_or({});
    fill();
    if (!read) {
        framework::ShowInfo(read.failed() ? read.error() : QStringLiteral("سند شماره %1 يافت نشد").arg(number), this);
        return false;
    }
    return true;
}

void TFShowSnd::fill()
{
    const orvak::accounting::VoucherHead& h = sheet_.head;
    head_->setText(h.number == 0 ? QString()
                                 : QStringLiteral("تاريخ: %1   نوع: %2   وضعيت: %3   كاربر: %4   شرح: %5")
                                       .arg(h.date)
                                       .arg(h.kind)
                                       .arg(h.state)
                                       .arg((QString::number(h.userId) + QLatin1Char(' ') + sheet_.userName).trimmed())
                                       .arg(h.description));
    rows_->setRowCount(int(sheet_.rows.size()));
    for (int i = 0; i < sheet_.rows.size(); ++i) {
        const orvak::accounting::VoucherSheetRow& s = sheet_.rows[i];
        const orvak::accounting::VoucherRow& r = s.row;
        const QString cheque = ((r.chequeNo ? QString::number(*r.chequeNo) : QString()) + QLatin1Char(' ') + r.chequeDate).trimmed();
        const QStringList texts{QString::number(r.row), QString::number(r.kol), s.kolName, QString::number(r.moin), s.moinName,
                                code(r.tafsil), s.partyName, code(r.project) + QLatin1Char(' ') + s.projectName,
                                code(r.plan) + QLatin1Char(' ') + s.planName, r.description, util::FormatAmount(r.debit),
                                util::FormatAmount(r.credit), cheque};
        for (int c = 0; c < texts.size(); ++c)
            rows_->setItem(i, c, new QTableWidgetItem(texts[c].trimmed()));
    }
    rows_->resizeColumnsToContents();
    debit_->setText(QStringLiteral("بدهكار:") + QLatin1Char(' ') + util::FormatAmount(sheet_.debit));
    credit_->setText(QStringLiteral("بستانكار:") + QLatin1Char(' ') + util::FormatAmount(sheet_.credit));
    difference_->setText(QStringLiteral("اختلاف:") + QLatin1Char(' ') + QString::number(sheet_.difference()));
}

QString TFShowSnd::totalsText() const
{
    return QStringList{debit_->text(), credit_->text(), difference_->text()}.join(QLatin1Char('\n'));
}

bool TFShowSnd::findWord(const QString& word)
{
    const int at = orvak::accounting::findInVoucher(sheet_, word, rows_->currentRow() + 1);
    if (at < 0)
        return false;
    rows_->selectRow(at);
    return true;
}

void TFShowSnd::print()
{
    if (sheet_.head.number == 0)
        return;
    framework::previewReport(orvak::accounting::voucherReport(sheet_, letters::signatureBlocks(session_, QStringLiteral("voucher"), letters::GeneralGroup)), windowTitle(), this);
}

} // namespace orvak::ui::accounting
