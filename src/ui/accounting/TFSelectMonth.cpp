#include "ui/accounting/TFSelectMonth.h"

#include "ui/framework/ListScreen.h"
#include "core/accounting/VoucherSearch.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orvak::ui::accounting {

TFSelectMonth::TFSelectMonth(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("انتخاب ماه"));
    setLayoutDirection(Qt::RightToLeft);
    resize(320, 420);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    year_ = new QComboBox(this);
    year_->addItems({QStringLiteral("سال قبل"), QStringLiteral("سال فعلي"), QStringLiteral("سال بعد")});
    year_->setCurrentIndex(1);
    top->addWidget(year_);
    top->addStretch();
    layout->addLayout(top);
    list_ = new framework::ListScreen(session, orvak::accounting::monthsList(), {}, this);
    layout->addWidget(list_, 1);
    auto* go = new QPushButton(QStringLiteral("ادامه (ENTER)"), this);
    layout->addWidget(go);
    connect(go, &QPushButton::clicked, this, &TFSelectMonth::continueWithCurrent);
    connect(list_->grid(), &QTableView::doubleClicked, this, &TFSelectMonth::continueWithCurrent);
    go->setDefault(true);
    list_->reopen();
}

std::optional<MonthChoice> TFSelectMonth::current() const
{
    const int row = list_->currentSourceRow();
    if (row < 0)
        return std::nullopt;
    const int month = io::fieldValue(list_->model().rows(), row, QStringLiteral("ID")).toInt();
    return MonthChoice{session_.CurrentYear() + year_->currentIndex() - 1, month};
}

void TFSelectMonth::continueWithCurrent()
{
    chosen_ = current();
    if (chosen_)
        accept();
}

} // namespace orvak::ui::accounting
