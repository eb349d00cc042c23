#include "core/letters/LetterTemplates.h"

#include "core/startup/Program.h"

#include <QSqlQuery>
#include <QTextDocument>

namespace orvak::letters {

namespace {

constexpr db::Store Store = db::Store::Common;
const QString Table = QStringLiteral("LETTER_TEMPLATE");
const QString CopyTable = QStringLiteral("LETTER_TEMPLATE_RUNEVESHT");

QVariantMap program() { return {{QStringLiteral(":Prog"), startup::ProgID}}; }

QString plainOf(const QString& html)
{
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText();
}

template <class T>
db::Fetched<QList<T>> readAll(QSqlDatabase db, const QString& sql, const QVariantMap& binds, T (*from)(const QSqlRecord&))
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    QString why;
    if (!db::prepareBound(q, sql, binds, &why))
        return db::Fetched<QList<T>>::failure(why);
    if (!q.exec())
        return db::Fetched<QList<T>>::failure(q.lastError().text());
    QList<T> rows;
    while (q.next())
        rows << from(q.record());
    return db::Fetched<QList<T>>::found(rows);
}

CopyRecipient copyFrom(const QSqlRecord& r)
{
    return {r.value(QStringLiteral("IDX")).toInt(), r.value(QStringLiteral("LTRCODE")).toInt(), r.value(QStringLiteral("RUNEVESHT")).toString(),
            r.value(QStringLiteral("TITLE")).toString().trimmed()};
}

bool inWorkTold(startup::Session& session, startup::Prompt& prompt, const std::function<bool(db::UnitOfWork&)>& work)
{
    QString error;
    const bool ok = session.inWork(work, &error);
    if (!ok && !error.isEmpty())
        prompt.info(error);
    return ok;
}

} // namespace

const QStringList& letterKindTexts()
{
    static const QStringList texts = {QStringLiteral("عمومي"), QStringLiteral("تمديد"), QStringLiteral("تقليل"), QStringLiteral("تمديد و تقليل"),
                                      QStringLiteral("تاييد"), QStringLiteral("ضبط"),  QStringLiteral("ابطال"), QStringLiteral("صدور"),
                                      QStringLiteral("رفع توقيف")};
    return texts;
}

bool kindNeedsNewDue(int kind) { return kind == KindExtension || kind == KindExtensionReduction; }
bool kindNeedsNewAmount(int kind) { return kind == KindReduction || kind == KindExtensionReduction; }

const QStringList& positionedItemTexts()
{
    static const QStringList texts = {
        QStringLiteral("شماره تضمين"), QStringLiteral("نوع تضمين"),   QStringLiteral("پيمانکار"),     QStringLiteral("سررسيد فعلي"),
        QStringLiteral("سررسيد جديد"), QStringLiteral("مدت تمديد"),   QStringLiteral("مبلغ فعلي"),    QStringLiteral("مبلغ جديد"),
        QStringLiteral("ميزان تقليل"), QStringLiteral("نام شعبه"),    QStringLiteral("قرارداد"),      QStringLiteral("نام پروژه"),
        QStringLiteral("ش.بايگاني"),   QStringLiteral("نام اداره"),   QStringLiteral("شرح"),          QStringLiteral("کلمه آزاد 1"),
        QStringLiteral("کلمه آزاد 2"), QStringLiteral("نام ذيحساب")};
    return texts;
}

QList<int> LetterTemplate::chosenCopies() const
{
    QList<int> out;
    for (int c : copies) {
        if (c > 0)
            out << c;
    }
    return out;
}

QString incompleteText() { return QStringLiteral("اطلاعات کامل نيست"); }
QString tooManyCopiesText() { return QStringLiteral("حداکثر چهار رونوشت مي توانيد انتخاب کنيد."); }

qsizetype unbalancedPlaceholder(const QString& text)
{
    qsizetype from = 0;
    while (true) {
        const qsizetype open = text.indexOf(QStringLiteral("(("), from);
        if (open < 0)
            return -1;
        const qsizetype close = text.indexOf(QStringLiteral("))"), open + 2);
        const qsizetype next = text.indexOf(QStringLiteral("(("), open + 2);
        if (close < 0 || (next >= 0 && next < close))
            return open;
        from = close + 2;
    }
}

QString unbalancedQuestion(const QString& near)
{
    return QStringLiteral("در متن قالب \"%1\" پرانتز دوتايي باز شده و بسته نشده است و جايگزين نمي شود. ذخيره شود؟").arg(near);
}

LetterTemplate templateFrom(const QSqlRecord& r)
{
    auto v = [&](const QString& name) { return r.value(name); };
    LetterTemplate t;
    t.code = v(QStringLiteral("CODE")).toInt();
    t.title = v(QStringLiteral("TITLE")).toString().trimmed();
    t.contents = v(QStringLiteral("CONTENTS")).toString();
    t.kind = v(QStringLiteral("LTRKIND")).toInt();
    for (int i = 0; i < 4; ++i)
        t.copies[size_t(i)] = v(QStringLiteral("RUNEVESHT%1").arg(i + 1)).toInt();
    t.offsetLeft = v(QStringLiteral("CR")).toInt();
    t.offsetTop = v(QStringLiteral("CT")).toInt();
    t.paperSize = v(QStringLiteral("PAPERSIZE")).isNull() ? 1 : v(QStringLiteral("PAPERSIZE")).toInt();
    t.landscape = v(QStringLiteral("PORT_LAND")).toInt();
    t.perSheet = v(QStringLiteral("PG_PERSHEET")).toInt();
    t.positioned = v(QStringLiteral("TARAHI")).toInt() != 0;
    for (int i = 0; i < PositionedItemCount; ++i) {
        PositionedItem& p = t.items[size_t(i)];
        const QString n = QString::number(i + 1);
        auto number = [&](const char* prefix, int otherwise) {
            const QVariant x = v(QLatin1String(prefix) + n);
            return x.isNull() ? otherwise : x.toInt();
        };
        p.left = number("PL", 0);
        p.top = number("PT", 0);
        p.size = number("PS", 10);
        p.flag = number("PE", 0);
        p.width = number("PW", 40);
        p.height = number("PH", 8);
        p.bold = number("B", 0) != 0;
        p.font = v(QStringLiteral("F") + n).toString().trimmed();
    }
    t.word1 = v(QStringLiteral("KALAMEH1")).toString();
    t.word2 = v(QStringLiteral("KALAMEH2")).toString();
    return t;
}

QVariantMap templateValues(const LetterTemplate& t)
{
    QVariantMap m{{QStringLiteral("PROGID"), startup::ProgID}, {QStringLiteral("CODE"), t.code},          {QStringLiteral("TITLE"), t.title.trimmed()},
                  {QStringLiteral("CONTENTS"), t.contents},    {QStringLiteral("LTRKIND"), t.kind},       {QStringLiteral("CR"), t.offsetLeft},
                  {QStringLiteral("CT"), t.offsetTop},         {QStringLiteral("PAPERSIZE"), t.paperSize}, {QStringLiteral("PORT_LAND"), t.landscape},
                  {QStringLiteral("PG_PERSHEET"), t.perSheet}, {QStringLiteral("TARAHI"), t.positioned ? 1 : 0},
                  {QStringLiteral("KALAMEH1"), t.word1},       {QStringLiteral("KALAMEH2"), t.word2}};
    for (int i = 0; i < 4; ++i)
        m.insert(QStringLiteral("RUNEVESHT%1").arg(i + 1), t.copies[size_t(i)]);
    for (int i = 0; i < PositionedItemCount; ++i) {
        const PositionedItem& p = t.items[size_t(i)];
        const QString n = QString::number(i + 1);
        m.insert(QStringLiteral("PL") + n, p.left);
        m.insert(QStringLiteral("PT") + n, p.top);
        m.insert(QStringLiteral("PS") + n, p.size);
        m.insert(QStringLiteral("PE") + n, p.flag);
        m.insert(QStringLiteral("PW") + n, p.width);
        m.insert(QStringLiteral("PH") + n, p.height);
        m.insert(QStringLiteral("B") + n, p.bold ? 1 : 0);
        m.insert(QStringLiteral("F") + n, p.font.left(20));
    }
    return m;
}

LetterTemplates::LetterTemplates(startup::Session& session)
    : session_(session)
{
}

db::Fetched<LetterTemplate> LetterTemplates::read(int code) const
{
    QVariantMap b = program();
    b.insert(QStringLiteral(":Code"), code);
    const auto r = db::firstRow(session_.common(), QStringLiteral("SELECT * FROM LETTER_TEMPLATE WHERE PROGID = :Prog AND CODE = :Code"), b);
    if (!r)
        return r.failed() ? db::Fetched<LetterTemplate>::failure(r.error()) : db::Fetched<LetterTemplate>::none();
    return db::Fetched<LetterTemplate>::found(templateFrom(*r));
}

db::Fetched<QList<LetterTemplate>> LetterTemplates::ofKind(int kind) const
{
    QVariantMap b = program();
    b.insert(QStringLiteral(":Kind"), kind);
    return readAll<LetterTemplate>(session_.common(),
                                   QStringLiteral("SELECT * FROM LETTER_TEMPLATE WHERE PROGID = :Prog AND ((COALESCE(LTRKIND, 0) = :Kind) OR (:Kind = -1)) ORDER BY CODE"),
                                   b, &templateFrom);
}

db::Fetched<int> LetterTemplates::proposedCode() const
{
    QString why;
    const auto n = db::largestPlusOne(session_.common(), Table, QStringLiteral("CODE"), QStringLiteral("PROGID = :Prog"), program(), &why);
    return n ? db::Fetched<int>::found(int(*n)) : db::Fetched<int>::failure(why);
}

std::optional<int> LetterTemplates::save(const LetterTemplate& given, bool insert, startup::Prompt& prompt)
{
    LetterTemplate t = given;
    t.title = t.title.trimmed();
    if (t.title.isEmpty()) {
        prompt.info(incompleteText());
        return std::nullopt;
    }
    if (t.title.size() > 100) {
        prompt.info(QStringLiteral("عنوان قالب بيش از 100 حرف است"));
        return std::nullopt;
    }
    if (t.kind < 0 || t.kind >= letterKindTexts().size() || t.paperSize < 0 || t.paperSize > 1 || t.landscape < 0 || t.landscape > 1
        || t.perSheet < 0 || t.perSheet > 1) {
        prompt.info(incompleteText());
        return std::nullopt;
    }
    const QList<int> chosen = t.chosenCopies();
    if (!copiesAllowed(chosen, prompt))
        return std::nullopt;
    if (!chosen.isEmpty()) {
        const auto known = copyRecipients(chosen);
        if (!known) {
            prompt.info(known.failed() ? known.error() : incompleteText());
            return std::nullopt;
        }
        if (known->size() != chosen.size()) {
            prompt.info(QStringLiteral("رونوشت انتخاب شده يافت نشد"));
            return std::nullopt;
        }
    }
    const QString plain = plainOf(t.contents);
    if (const qsizetype at = unbalancedPlaceholder(plain); at >= 0 && !prompt.ask(unbalancedQuestion(plain.mid(at, 30).simplified())))
        return std::nullopt;
    int saved = t.code;
    const bool ok = inWorkTold(session_, prompt, [&](db::UnitOfWork& w) {
        if (insert) {
            const auto key = w.nextKey(Store, Table, QStringLiteral("CODE"), QStringLiteral("PROGID = :Prog"), program());
            if (!key)
                return false;
            t.code = saved = int(*key);
            return w.insert(Store, Table, templateValues(t));
        }
        QVariantMap values = templateValues(t);
        values.remove(QStringLiteral("PROGID"));
        values.remove(QStringLiteral("CODE"));
        int changed = 0;
        QVariantMap b = program();
        b.insert(QStringLiteral(":Code"), t.code);
        return w.update(Store, Table, values, QStringLiteral("PROGID = :Prog AND CODE = :Code"), b, &changed)
            && (changed == 1 || w.fail(QStringLiteral("قالب نامه مورد نظر يافت نشد")));
    });
    return ok ? std::optional<int>(saved) : std::nullopt;
}

bool LetterTemplates::remove(int code, startup::Prompt& prompt)
{
    if (!prompt.ask(QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟")))
        return false;
    return inWorkTold(session_, prompt, [&](db::UnitOfWork& w) {
        QVariantMap b = program();
        b.insert(QStringLiteral(":Code"), code);
        int removed = 0;
        return w.remove(Store, Table, QStringLiteral("PROGID = :Prog AND CODE = :Code"), b, &removed)
            && (removed == 1 || w.fail(QStringLiteral("قالب نامه مورد نظر يافت نشد")));
    });
}

db::Fetched<QList<CopyRecipient>> LetterTemplates::copyRecipients() const
{
    return readAll<CopyRecipient>(session_.common(), QStringLiteral("SELECT * FROM LETTER_TEMPLATE_RUNEVESHT WHERE PROGID = :Prog ORDER BY IDX"), program(),
                                  &copyFrom);
}

db::Fetched<QList<CopyRecipient>> LetterTemplates::copyRecipients(const QList<int>& idx) const
{
    const auto all = copyRecipients();
    if (!all)
        return all;
    QList<CopyRecipient> out;
    for (int i : idx) {
        for (const CopyRecipient& c : *all) {
            if (c.idx == i)
                out << c;
        }
    }
    return db::Fetched<QList<CopyRecipient>>::found(out);
}

std::optional<int> LetterTemplates::saveCopy(const CopyRecipient& given, bool insert, startup::Prompt& prompt)
{
    CopyRecipient c = given;
    if (c.text.trimmed().isEmpty() || plainOf(c.text).trimmed().isEmpty()) {
        prompt.info(incompleteText());
        return std::nullopt;
    }
    int saved = c.idx;
    const bool ok = inWorkTold(session_, prompt, [&](db::UnitOfWork& w) {
        const QVariantMap values{{QStringLiteral("PROGID"), startup::ProgID}, {QStringLiteral("LTRCODE"), c.letterCode},
                                 {QStringLiteral("RUNEVESHT"), c.text}, {QStringLiteral("TITLE"), c.title.trimmed().left(100)}};
        if (insert) {
            const auto key = w.nextKey(Store, CopyTable, QStringLiteral("IDX"));
            if (!key)
                return false;
            saved = int(*key);
            QVariantMap row = values;
            row.insert(QStringLiteral("IDX"), saved);
            return w.insert(Store, CopyTable, row);
        }
        int changed = 0;
        return w.update(Store, CopyTable, values, QStringLiteral("IDX = :Idx AND PROGID = :Prog"),
                        {{QStringLiteral(":Idx"), c.idx}, {QStringLiteral(":Prog"), startup::ProgID}}, &changed)
            && (changed == 1 || w.fail(QStringLiteral("رونوشت مورد نظر يافت نشد")));
    });
    return ok ? std::optional<int>(saved) : std::nullopt;
}

bool LetterTemplates::removeCopy(int idx, startup::Prompt& prompt)
{
    if (!prompt.ask(QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟")))
        return false;
    return inWorkTold(session_, prompt, [&](db::UnitOfWork& w) {
        // A template that names it no longer does.
        for (int i = 1; i <= 4; ++i) {
            if (!w.update(Store, Table, QStringLiteral("RUNEVESHT%1 = 0").arg(i), QStringLiteral("PROGID = :Prog AND RUNEVESHT%1 = :Idx").arg(i),
                          {{QStringLiteral(":Idx"), idx}, {QStringLiteral(":Prog"), startup::ProgID}}))
                return false;
        }
        int removed = 0;
        return w.remove(Store, CopyTable, QStringLiteral("IDX = :Idx AND PROGID = :Prog"), {{QStringLiteral(":Idx"), idx}, {QStringLiteral(":Prog"), startup::ProgID}},
                        &removed)
            && (removed == 1 || w.fail(QStringLiteral("رونوشت مورد نظر يافت نشد")));
    });
}

bool LetterTemplates::copiesAllowed(const QList<int>& chosen, startup::Prompt& prompt)
{
    if (chosen.size() <= 4)
        return true;
    prompt.info(tooManyCopiesText());
    return false;
}

io::ListDefinition letterTemplatesList()
{
    io::ListDefinition d;
    d.name = QStringLiteral("letter-templates");
    d.title = QStringLiteral("قالب نامه ها");
    d.database = io::ListDatabase::Common;
    d.sql = QStringLiteral("SELECT * FROM LETTER_TEMPLATE WHERE PROGID = :ProgId AND ((COALESCE(LTRKIND, 0) = :PKind) OR (:PKind = -1))\nORDER BY CODE");
    d.parameters = {{QStringLiteral(":ProgId"), startup::ProgID}, {QStringLiteral(":PKind"), -1}};
    d.columns = {io::dataField(QStringLiteral("CODE"), QStringLiteral("کد"), 50, io::CellFormat::Integer),
                 io::dataField(QStringLiteral("TITLE"), QStringLiteral("عنوان قالب"), 260),
                 io::codeField(QStringLiteral("LTRKIND"), QStringLiteral("نوع نامه"), 100, io::CodeTexts::numbered(letterKindTexts())),
                 io::codeField(QStringLiteral("PAPERSIZE"), QStringLiteral("اندازه کاغذ"), 60, io::CodeTexts::numbered({QStringLiteral("A5"), QStringLiteral("A4")})),
                 io::codeField(QStringLiteral("TARAHI"), QStringLiteral("طراحي شده"), 60, io::CodeTexts::numbered({QStringLiteral("خير"), QStringLiteral("بلي")}))};
    d.keyField = QStringLiteral("CODE");
    d.historyTable = QStringLiteral("LETTER_TEMPLATE");
    d.historyKey = {QStringLiteral("PROGID"), QStringLiteral("CODE")};
    return d;
}

io::ListDefinition letterCopiesList()
{
    io::ListDefinition d;
    d.name = QStringLiteral("letter-copies");
    d.title = QStringLiteral("انتخاب رونوشت نامه ها");
    d.database = io::ListDatabase::Common;
    d.sql = QStringLiteral("SELECT * FROM LETTER_TEMPLATE_RUNEVESHT WHERE PROGID = :ProgId\nORDER BY IDX");
    d.parameters = {{QStringLiteral(":ProgId"), startup::ProgID}};
    d.columns = {io::dataField(QStringLiteral("IDX"), QStringLiteral("کد"), 50, io::CellFormat::Integer),
                 io::dataField(QStringLiteral("TITLE"), QStringLiteral("عنوان"), 200),
                 io::dataField(QStringLiteral("LTRCODE"), QStringLiteral("قالب"), 50, io::CellFormat::Integer)};
    d.keyField = QStringLiteral("IDX");
    d.historyTable = QStringLiteral("LETTER_TEMPLATE_RUNEVESHT");
    d.historyKey = {QStringLiteral("IDX")};
    return d;
}

} // namespace orvak::letters
