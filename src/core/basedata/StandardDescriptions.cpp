#include "core/basedata/StandardDescriptions.h"

namespace orvak::basedata {

using db::Store;

namespace {

constexpr int kLength = 200;

bool checkedText(const QString& text, startup::Prompt& prompt)
{
    if (text.trimmed().isEmpty()) {
        prompt.info(QStringLiteral("اطلاعات کامل نيست"));
        return false;
    }
    if (text.trimmed().size() > kLength) {
        prompt.info(QStringLiteral("متن وارد شده بيش از %1 حرف است : ").arg(kLength) + text.left(40));
        return false;
    }
    return true;
}

QVariantMap keyBinds(DescriptionKey key) { return {{QStringLiteral(":UID"), key.uid}, {QStringLiteral(":ROW"), key.row}}; }

} // namespace

QStringList descriptionScopes()
{
    return {QStringLiteral("شرح هاي عمومي و شرح هاي کاربر فعلي"), QStringLiteral("شرح هاي عمومي"), QStringLiteral("شرح  هاي کاربر فعلي"),
            QStringLiteral("شرح هاي همه کاربران")};
}

QVariantMap descriptionScopeParameters(DescriptionScope scope, int userCode)
{
    // ((UID=:PUID)or(0=:PUID)Or(UID=:PUID2)): -1 matches no user.
    int puid = -1;
    int puid2 = -1;
    switch (scope) {
    case DescriptionScope::GeneralAndMine:
        puid = userCode > 0 ? userCode : -1;
        puid2 = 0;
        break;
    case DescriptionScope::General:
        puid2 = 0;
        break;
    case DescriptionScope::Mine:
        puid = puid2 = userCode > 0 ? userCode : -1;
        break;
    case DescriptionScope::Everyone:
        puid = 0;
        break;
    }
    return {{QStringLiteral(":PUID"), puid}, {QStringLiteral(":PUID2"), puid2}};
}

std::optional<DescriptionKey> StandardDescriptions::add(const QString& text, startup::Prompt& prompt)
{
    return moveTo({-1, 0}, session_.currentUserCode(), text, prompt);
}

std::optional<DescriptionKey> StandardDescriptions::change(DescriptionKey key, const QString& text, startup::Prompt& prompt)
{
    return moveTo(key, session_.currentUserCode(), text, prompt);
}

std::optional<DescriptionKey> StandardDescriptions::makeGeneral(DescriptionKey key, startup::Prompt& prompt)
{
    const auto text = db::scalar(session_.common(), QStringLiteral("Select DESCR From SAVE_DESCR Where UID=:UID and ROW=:ROW"), keyBinds(key));
    if (!text) {
        prompt.info(text.failed() ? text.error() : QStringLiteral("شرح مورد نظر يافت نشــد"));
        return std::nullopt;
    }
    return moveTo(key, 0, text->toString(), prompt);
}

// Writes the text under uid: in place when the row is already that user's, otherwise
// under the user's next row number (the old row goes), so no key of his is reused.
std::optional<DescriptionKey> StandardDescriptions::moveTo(DescriptionKey key, int uid, const QString& text, startup::Prompt& prompt)
{
    if (!checkedText(text, prompt))
        return std::nullopt;
    DescriptionKey saved = key;
    QString why;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            const QVariantMap binds = keyBinds(key);
            if (key.uid == uid) {
                int changed = 0;
                return w.update(Store::Common, QStringLiteral("SAVE_DESCR"), {{QStringLiteral("DESCR"), text.trimmed()}}, QStringLiteral("UID=:UID and ROW=:ROW"),
                                binds, &changed)
                    && (changed == 1 || w.fail(QStringLiteral("شرح مورد نظر يافت نشــد")));
            }
            const std::optional<qint64> row = w.nextKey(Store::Common, QStringLiteral("SAVE_DESCR"), QStringLiteral("ROW"), QStringLiteral("UID=:u"),
                                                        {{QStringLiteral(":u"), uid}});
            if (!row)
                return false;
            saved = {uid, int(*row)};
            if (key.uid >= 0) {
                int gone = 0;
                if (!w.remove(Store::Common, QStringLiteral("SAVE_DESCR"), QStringLiteral("UID=:UID and ROW=:ROW"), binds, &gone))
                    return false;
                if (gone != 1)
                    return w.fail(QStringLiteral("شرح مورد نظر يافت نشــد"));
            }
            return w.insert(Store::Common, QStringLiteral("SAVE_DESCR"),
                            {{QStringLiteral("UID"), uid}, {QStringLiteral("ROW"), saved.row}, {QStringLiteral("DESCR"), text.trimmed()}});
        },
        &why);
    if (!ok) {
        prompt.info(why);
        return std::nullopt;
    }
    return saved;
}

bool StandardDescriptions::remove(DescriptionKey key, startup::Prompt& prompt)
{
    if (!prompt.ask(QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟")))
        return false;
    QString why;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            int gone = 0;
            return w.remove(Store::Common, QStringLiteral("SAVE_DESCR"), QStringLiteral("ROW=:ROW and UID=:UID"), keyBinds(key), &gone)
                && (gone == 1 || w.fail(QStringLiteral("شرح مورد نظر يافت نشــد")));
        },
        &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

} // namespace orvak::basedata
