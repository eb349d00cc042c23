#include "ui/deposits/TVIEWBESTANKARI.h"

#include "ui/deposits/TFDE_BESTANKARI.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/Picker.h"
#include "ui/framework/ReportPreview.h"
#include "core/basedata/CodedTable.h"
#include "core/letters/LetterFooter.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::CreditNotices;
using orvak::deposits::NoticeOrder;
using framework::ListCommand;
using framework::ListScreen;

TVIEWBESTANKARI& self(ListScreen& l) { return static_cast<TVIEWBESTANKARI&>(l); }

const QString notFound = QStringLiteral("يافت نشد ");

framework::ListUi commands(orvak::startup::Session& session, bool picking)
{
    QList<ListCommand> more{
        ListCommand{QStringLiteral("جستجو(F8)"), QKeySequence(Qt::Key_F8), [](ListScreen& l) { self(l).search(); }, false, false, 0},
        ListCommand{QStringLiteral("مانده و پرداختي هر بستانکاري"), {}, [](ListScreen& l) {
                        if (const auto r = self(l).balanceReport())
                            framework::previewReport(*r, QStringLiteral("مانده و پرداختي هر بستانکاري"), &l);
                    },
                    false, false, 0},
        ListCommand{QStringLiteral("سوابق بستانکاري"), {}, [](ListScreen& l) {
                        if (const auto r = self(l).historyReport())
                            framework::previewReport(*r, QStringLiteral("سوابق بستانکاري"), &l);
                    },
                    true, false, 0},
    };
    if (picking)
        more << ListCommand{QStringLiteral("انتخاب(F10)"), QKeySequence(Qt::Key_F10), [](ListScreen& l) {
                                if (auto* picker = qobject_cast<framework::PickerDialog*>(l.window()))
                                    picker->continueWithCurrent();
                            },
                            true, false, 0};
    return basedata::registerCommands([&session](ListScreen& l) { return std::make_unique<TFDE_BESTANKARI>(session, &l); },
                                      [&session](qint64 code, orvak::startup::Prompt& prompt) { return CreditNotices(session).remove(int(code), prompt); },
                                      more);
}

} // namespace

TVIEWBESTANKARI::TVIEWBESTANKARI(orvak::startup::Session& session, QWidget* parent)
    : TVIEWBESTANKARI(session, false, parent)
{
}

TVIEWBESTANKARI::TVIEWBESTANKARI(orvak::startup::Session& session, bool picking, QWidget* parent)
    : RegisterList(session, orvak::deposits::creditLettersList(), commands(session, picking), parent)
{
    addSearch(QStringLiteral("همه"), [this] { showAll(); });
    auto* row = new QHBoxLayout;
    auto* order = new QComboBox(this);
    order->setObjectName(QStringLiteral("noticeOrder"));
    order->addItems(orvak::deposits::noticeOrderTexts());
    connect(order, &QComboBox::currentIndexChanged, this, [this](int i) { setOrder(NoticeOrder(i)); });
    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("noticeCounts"));
    row->addWidget(new QLabel(QStringLiteral("ترتيب"), this));
    row->addWidget(order);
    row->addWidget(counts_, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(this, &ListScreen::opened, this, [this] {
        connect(grid()->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TVIEWBESTANKARI::refreshCounts, Qt::UniqueConnection);
        refreshCounts();
    });
}

void TVIEWBESTANKARI::setOrder(NoticeOrder order)
{
    setQuery(orvak::deposits::creditLettersList(order).sql);
    reopen(currentKey());
}

bool TVIEWBESTANKARI::searched()
{
    reopen();
    if (model().rowCount() > 0)
        return true;
    framework::ShowInfo(notFound, this);
    return false;
}

bool TVIEWBESTANKARI::searchNumber(const QString& typed)
{
    setParameter(QStringLiteral(":Date"), QString());
    setParameter(QStringLiteral(":No"), orvak::deposits::noticeNumberPattern(typed));
    return searched();
}

bool TVIEWBESTANKARI::searchDate(const QString& typed)
{
    const std::optional<QString> date = orvak::basedata::storedDate(typed);
    if (!date) {
        framework::ShowInfo(QStringLiteral("تاريخ درست نيست"), this);
        return false;
    }
    setParameter(QStringLiteral(":No"), QString());
    setParameter(QStringLiteral(":Date"), *date);
    return searched();
}

void TVIEWBESTANKARI::showAll()
{
    setParameter(QStringLiteral(":No"), QString());
    setParameter(QStringLiteral(":Date"), QString());
    reopen(currentKey());
}

void TVIEWBESTANKARI::search()
{
    const QStringList ways{QStringLiteral("جستجوي شماره بستانکاري"), QStringLiteral("جستجوي تاريخ بستانکاري "), QStringLiteral("همه")};
    bool ok = false;
    const QString way = QInputDialog::getItem(this, QStringLiteral("جستجو(F8)"), QString(), ways, 0, false, &ok);
    if (!ok)
        return;
    if (way == ways[2]) {
        showAll();
        return;
    }
    const bool byNumber = way == ways[0];
    framework::MessagePrompt prompt(this);
    const auto typed = prompt.askText(byNumber ? QStringLiteral(" شماره بستانکاري را وارد کنيد ") : QStringLiteral(" تاريخ بستانکاري را در قالب --/--/-- وارد کنيد "),
                                      false);
    if (!typed || typed->trimmed().isEmpty())
        return;
    if (byNumber)
        searchNumber(*typed);
    else
        searchDate(*typed);
}

void TVIEWBESTANKARI::refreshCounts()
{
    const QVariant key = currentKey();
    if (!key.isValid()) {
        counts_->clear();
        return;
    }
    const auto c = CreditNotices(session()).counts(key.toInt());
    if (!c) {
        counts_->setText(c.error());
        return;
    }
    const auto amount = [](qint64 v) { return v ? util::FormatAmount(v) : QStringLiteral("0"); };
    counts_->setText(QStringLiteral("تعداد سپرده هاي دريافتي %1   جمع مبلغ: %2      تعداد سپرده هاي درخواست شده %3   جمع مبلغ: %4")
                         .arg(c->deposits)
                         .arg(amount(c->depositsAmount))
                         .arg(c->requests)
                         .arg(amount(c->requestsAmount)));
}

QString TVIEWBESTANKARI::countsText() const { return counts_->text(); }

std::optional<io::ReportModel> TVIEWBESTANKARI::balanceReport()
{
    const auto r = CreditNotices(session()).balanceReport(
        letters::signatureBlocks(session(), QString::fromLatin1(orvak::deposits::NoticeBalanceKind), letters::DepositReportsGroup));
    if (!r) {
        framework::ShowError(r.error(), this);
        return std::nullopt;
    }
    return *r;
}

std::optional<io::ReportModel> TVIEWBESTANKARI::historyReport()
{
    const QVariant key = currentKey();
    if (!key.isValid())
        return std::nullopt;
    const auto r = CreditNotices(session()).historyReport(
        key.toInt(), letters::signatureBlocks(session(), QString::fromLatin1(orvak::deposits::NoticeHistoryKind), letters::DepositReportsGroup));
    if (!r) {
        framework::ShowError(r.error(), this);
        return std::nullopt;
    }
    return *r;
}

std::optional<orvak::deposits::CreditLetter> pickCreditNotice(QWidget* parent, orvak::startup::Session& session, const QString& title)
{
    auto* list = new TVIEWBESTANKARI(session, true);
    list->setWindowTitle(title);
    framework::PickRequest request;
    request.fields = {QStringLiteral("IDXNO")};
    request.continueText = QStringLiteral("انتخاب(F10)");
    const auto picked = framework::pickFrom(list, request, parent);
    if (!picked)
        return std::nullopt;
    const auto letter = orvak::deposits::creditLetter(session, picked->current.value(QStringLiteral("IDXNO")).toInt());
    if (!letter) {
        framework::ShowError(letter.failed() ? letter.error() : QStringLiteral("نامه ارسالي به خزانه يافت نشد"), parent);
        return std::nullopt;
    }
    return *letter;
}

} // namespace orvak::ui::deposits
