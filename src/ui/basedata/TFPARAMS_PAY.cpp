#include "ui/basedata/TFPARAMS_PAY.h"

#include "ui/basedata/PartyListCommands.h"
#include "ui/basedata/TDE_PARAMS_PAY.h"
#include "core/basedata/Parameters.h"
#include "core/basedata/PartyLists.h"

#include <QComboBox>
#include <QMenu>

namespace orvak::ui::basedata {

namespace {

int kindOf(const framework::ListScreen& l) { return static_cast<const TFPARAMS_PAY&>(l).kind(); }

framework::ListUi commands(startup::Session& session)
{
    framework::ListUi ui;
    ui.commands = entryCommands([&session](framework::ListScreen& l) { return std::make_unique<TDE_PARAMS_PAY>(session, kindOf(l), &l); },
                                [&session](framework::ListScreen& l, startup::Prompt& p) {
                                    return orvak::basedata::Parameters(session).remove(kindOf(l), l.currentKey().toLongLong(), p);
                                });
    ui.commands << codeSearch(QStringLiteral("جستجوي براساس کد"), QStringLiteral("جستجوي کد"), QStringLiteral("كد"))
                << nameSearch(QStringLiteral("جستجو بر اساس نام"), QStringLiteral("جستجوي نام"), QStringLiteral("کلمه در نام"), QStringLiteral("name"))
                << framework::ListCommand{QStringLiteral("ليست"), QKeySequence(), [](framework::ListScreen& l) { l.contextMenu()->actions().value(2)->trigger(); },
                                          true, false, 0};
    return ui;
}

} // namespace

TFPARAMS_PAY::TFPARAMS_PAY(startup::Session& session, QWidget* parent, int kind)
    : framework::ListScreen(session, orvak::basedata::parametersList(), commands(session), parent)
{
    kinds_ = addChoiceRow(*this, QStringLiteral("جدول"), orvak::basedata::parameterKinds());
    setKind(kind);
    connect(kinds_, &QComboBox::currentIndexChanged, this, [this](int k) {
        setParameter(QStringLiteral(":kind"), k);
        reopen();
    });
}

int TFPARAMS_PAY::kind() const { return kinds_->currentIndex(); }

void TFPARAMS_PAY::setKind(int kind)
{
    const QSignalBlocker quiet(kinds_);
    kinds_->setCurrentIndex(qBound(0, kind, kinds_->count() - 1));
    setParameter(QStringLiteral(":kind"), kinds_->currentIndex());
}

} // namespace orvak::ui::basedata
