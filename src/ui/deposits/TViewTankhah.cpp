#include "ui/deposits/TViewTankhah.h"

#include "ui/basedata/CodedEntry.h"
#include "ui/deposits/ControlLists.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/Picker.h"
#include "core/deposits/RequestRefundLists.h"
#include "core/io/Report.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace orvak::ui::deposits {

namespace {

using orvak::deposits::PettyCash;

framework::ListUi floatCommands(Session& session)
{
    framework::ListUi ui = basedata::registerCommands(
        [&session](framework::ListScreen& l) { return std::make_unique<TDE_Tankhah>(session, &l); },
        [&session](qint64 code, orvak::startup::Prompt& prompt) { return bool(PettyCash(session).remove(int(code), prompt)); });
    const char* const captions[] = {"جديد (INS)", "ويرايش (ENTER)", "حذف(DEL)"};
    for (int i = 0; i < 3; ++i) {
        ui.commands[i].caption = QString::fromUtf8(captions[i]);
        ui.commands[i].key = {};
    }
    ui.commands << framework::ListCommand{QStringLiteral("نمايش ريز چک ها"), {}, [](framework::ListScreen& l) { static_cast<TViewTankhah&>(l).showCheques(); },
                                          true, false, 0};
    return ui;
}

} // namespace

TViewTankhah::TViewTankhah(Session& session, QWidget* parent)
    : ConditionList(session, orvak::deposits::floatsList(), floatCommands(session), parent)
{
    setWindowTitle(QStringLiteral("مديريت مبالغ تنخواه"));
    bindKey(QKeySequence(Qt::Key_Insert), 0);
    bindKey(QKeySequence(Qt::Key_Delete), 2);
    connect(grid(), &QTableView::doubleClicked, this, [this] { runCommand(1); });
}

void TViewTankhah::showCheques()
{
    const int idx = currentField(QStringLiteral("IDX")).toInt();
    auto* cheques = new TFTankhahDetailsCHK(session());
    cheques->showFloat(idx);
    runModal(cheques, this);
}

TDE_Tankhah::TDE_Tankhah(Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("ورود اطلاعات تنخواه"), parent)
    , session_(session)
{
    code = new QLabel(this);
    requestNo = basedata::textField(this, 10);
    requestDate = new framework::JalaliDateEdit(this);
    requested = new framework::AmountEdit(this);
    treasuryNo = basedata::textField(this, 10);
    treasuryDate = new framework::JalaliDateEdit(this);
    remittanceNo = basedata::textField(this, 10);
    remittanceDate = new framework::JalaliDateEdit(this);
    remitted = new framework::AmountEdit(this);
    left = new QLabel(this);
    descr = basedata::textField(this, 120);
    form()->addRow(QStringLiteral("کد تنخواه"), code);
    form()->addRow(QStringLiteral("شماره نامه درخواست"), requestNo);
    form()->addRow(QStringLiteral("تاريخ نامه درخواست"), requestDate);
    form()->addRow(QStringLiteral("مبلغ درخواست"), requested);
    form()->addRow(QStringLiteral("شماره نامه خزانه"), treasuryNo);
    form()->addRow(QStringLiteral("تاريخ نامه خزانه"), treasuryDate);
    form()->addRow(QStringLiteral("شماره حواله"), remittanceNo);
    form()->addRow(QStringLiteral("تاريخ حواله"), remittanceDate);
    form()->addRow(QStringLiteral("مبلغ حواله (واريزي از خزانه)"), remitted);
    form()->addRow(QStringLiteral("مبلغ مانده :"), left);
    form()->addRow(QStringLiteral("توضيحات"), descr);
}

void TDE_Tankhah::clearFields()
{
    const auto key = PettyCash(session_).proposedKey();
    code->setText(key ? QString::number(*key) : QString());
    for (QLineEdit* f : {requestNo, treasuryNo, remittanceNo, descr})
        f->clear();
    for (framework::JalaliDateEdit* d : {requestDate, treasuryDate, remittanceDate})
        d->setDate(QString());
    requested->setAmount(0);
    remitted->setAmount(0);
    left->setText(QStringLiteral("0"));
}

bool TDE_Tankhah::loadRecord(const QVariant& key)
{
    const auto f = PettyCash(session_).read(key.toInt());
    if (!f) {
        framework::ShowError(f.failed() ? f.error() : QStringLiteral("تنخواه مورد نظر يافت نشد"), this);
        return false;
    }
    code->setText(QString::number(f->idx));
    requestNo->setText(f->darkhstLtrNo);
    requestDate->setDate(f->darkhstLtrDate);
    requested->setAmount(f->darkhstAmount);
    treasuryNo->setText(f->khazanehLtrNo);
    treasuryDate->setDate(f->khazanehLtrDate);
    remittanceNo->setText(f->havalehNo);
    remittanceDate->setDate(f->havalehDate);
    remitted->setAmount(f->havalehAmount);
    left->setText(io::isolateLtr(f->amountMandeh ? util::FormatAmount(f->amountMandeh) : QStringLiteral("0")));
    descr->setText(f->descr);
    return true;
}

bool TDE_Tankhah::validate(QString*) { return true; }

std::optional<QVariant> TDE_Tankhah::saveRecord(QString* error)
{
    orvak::deposits::PettyFloat f;
    f.idx = mode() == Mode::Edit ? key().toInt() : 0;
    f.darkhstLtrNo = requestNo->text().trimmed();
    f.darkhstLtrDate = requestDate->text();
    f.darkhstAmount = requested->amount();
    f.khazanehLtrNo = treasuryNo->text().trimmed();
    f.khazanehLtrDate = treasuryDate->text();
    f.havalehNo = remittanceNo->text().trimmed();
    f.havalehDate = remittanceDate->text();
    f.havalehAmount = remitted->amount();
    f.descr = descr->text().trimmed();
    return basedata::savedThrough(
        this,
        [&](startup::Prompt& prompt) -> std::optional<qint64> {
            const auto saved = PettyCash(session_).save(f, mode() == Mode::Insert, prompt);
            return saved ? std::optional<qint64>(*saved) : std::nullopt;
        },
        error);
}

TFTankhahDetailsCHK::TFTankhahDetailsCHK(Session& session, QWidget* parent)
    : ConditionList(session, orvak::deposits::floatChequesList(), framework::ListUi{{reportCommand(QStringLiteral("تهيه گزارش"))}, 1, {}}, parent)
{
    setWindowTitle(QStringLiteral("مديريت چک هاي صادر شده از يک تنخواه"));
    addSearch(QStringLiteral("شماره تنخواه"), [this] {
        if (const auto chosen = pickFloat(this, this->session()))
            showFloat(*chosen);
    });
    addDateCondition(QStringLiteral("تاريخ چک از"), QStringLiteral(":From"));
    addDateCondition(QStringLiteral("تا"), QStringLiteral(":To"));
}

void TFTankhahDetailsCHK::showFloat(int idx)
{
    setParameter(QStringLiteral(":Float"), idx);
    setWindowTitle(QStringLiteral("مديريت چک هاي صادر شده از يک تنخواه") + QStringLiteral(" - ") + QStringLiteral("شماره تنخواه ") + QString::number(idx));
    reopen();
}

TTankhah::TTankhah(Session& session, QWidget* parent)
    : ConditionList(session, orvak::deposits::floatsReportList(), framework::ListUi{{reportCommand(QStringLiteral("تهيه گزارش"))}, 1, {}}, parent)
{
    addDateCondition(QStringLiteral("تاريخ حواله از"), QStringLiteral(":From"));
    addDateCondition(QStringLiteral("تا"), QStringLiteral(":To"));
    addSearch(QStringLiteral("سپرده هاي پرداخت شده از تنخواه"), [this] {
        auto* paid = new TFRep_RAD(this->session());
        paid->setCondition(QStringLiteral(":FromFloat"), 1);
        paid->reopen();
        runModal(paid, this);
    });
}

std::optional<int> pickFloat(QWidget* parent, Session& session)
{
    auto* list = new TViewTankhah(session);
    framework::PickRequest request;
    request.fields = {QStringLiteral("IDX")};
    request.continueText = QStringLiteral("انتخاب");
    const auto picked = framework::pickFrom(list, request, parent);
    if (!picked)
        return std::nullopt;
    return picked->current.value(QStringLiteral("IDX")).toInt();
}

} // namespace orvak::ui::deposits
