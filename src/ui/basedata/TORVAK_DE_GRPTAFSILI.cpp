#include "ui/basedata/TORVAK_DE_GRPTAFSILI.h"

#include <QFormLayout>

namespace orvak::ui::basedata {

TORVAK_DE_GRPTAFSILI::TORVAK_DE_GRPTAFSILI(startup::Session& session, QWidget* parent)
    : CodedEntryForm(QStringLiteral("گروه هاي تفصيلي"), QStringLiteral("کدينگ"), QStringLiteral("شرح"), 80, parent)
    , groups_(session)
{
    from = new QLineEdit(this);
    to = new QLineEdit(this);
    form()->addRow(QStringLiteral("از تفصيلي"), from);
    form()->addRow(QStringLiteral("تا تفصيلي"), to);
}

void TORVAK_DE_GRPTAFSILI::clearMore()
{
    from->clear();
    to->clear();
}

bool TORVAK_DE_GRPTAFSILI::loadMore(qint64 code)
{
    const auto g = groups_.read(code);
    if (!g)
        return false;
    from->setText(g->from ? QString::number(*g->from) : QString());
    to->setText(g->to ? QString::number(*g->to) : QString());
    return true;
}

bool TORVAK_DE_GRPTAFSILI::validate(QString* message)
{
    if (!CodedEntryForm::validate(message))
        return false;
    for (QLineEdit* e : {from, to}) {
        if (!e->text().trimmed().isEmpty() && !typedNumber(e)) {
            *message = QStringLiteral("شماره تفصيلي بايد عدد باشد : ") + e->text().left(20);
            return false;
        }
    }
    return true;
}

bool TORVAK_DE_GRPTAFSILI::write(qint64 code, const QString& name, bool insert, startup::Prompt& prompt)
{
    return groups_.save({code, name, typedNumber(from), typedNumber(to)}, insert, prompt);
}

} // namespace orvak::ui::basedata
