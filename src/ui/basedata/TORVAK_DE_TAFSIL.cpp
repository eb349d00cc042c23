#include "ui/basedata/TORVAK_DE_TAFSIL.h"

#include "ui/basedata/CodedEntryForm.h"
#include "ui/basedata/PartyPickers.h"
#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "core/basedata/DetailGroups.h"
#include "core/basedata/Trades.h"
#include "core/util/Iban.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QPixmap>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace orvak::ui::basedata {

namespace {

using orvak::basedata::DetailAccount;

enum class Kind { Text, Date, Index, IndexPlusOne };

struct FieldRow {
    const char* column;
    const char* caption;
    int page;
    Kind kind = Kind::Text;
    int length = 0;   // characters that may be typed; 0: the column's width
};

const char* const kPages[] = {"مشخصات", "ثبت و رتبه", "نشاني", "حساب هاي بانکي", "امضاداران", "سماد", "تصاوير"};

const char* const kPictures[][2] = {{"MOHR", "مهر"}, {"EMZA", "امضا"}, {"NAMAYANDEH", "تصوير نماينده"}};

// Every column the screen edits, page by page.
const FieldRow kRows[] = {
    {"NAME", "نام", 0, Kind::Text, 100},
    {"TAFSILKIND", "نوع شخص", 0, Kind::IndexPlusOne},
    {"FIRSTNAME", "نام", 0, Kind::Text, 60},
    {"LASTNAME", "نام خانوادگي", 0, Kind::Text, 50},
    {"NID", "شناسه/کد ملي", 0, Kind::Text, 15},
    {"KIND", "نوع شرکت", 0, Kind::Index},
    {"HESABJARI", "شرح حساب 1", 0, Kind::Text, 160},
    {"HESABMOSHTARAK", "شرح حساب 2", 0, Kind::Text, 160},
    {"ARCHIVENO", "پرونده بايگاني", 0, Kind::Text, 10},
    {"SABTNO", "شماره ثبت", 1, Kind::Text, 10},
    {"SABTLOC", "محل ثبت", 1, Kind::Text, 10},
    {"SABTDATE", "تاريخ ثبت", 1, Kind::Date},
    {"CODE_EGHTESADI", "کد اقتصادي", 1, Kind::Text, 12},
    {"CODE_KARGAH", "کد کارگاه", 1, Kind::Text, 20},
    {"CODE_RAHGIRI", "کد رهگيري", 1, Kind::Text, 20},
    {"MOJAVEZNO", "شماره مجوز", 1, Kind::Text, 15},
    {"PARVANEHNO", "شماره پروانه", 1, Kind::Text, 10},
    {"RANK1", "امتياز رشته اصلي", 1, Kind::Text, 10},
    {"RANK2", "امتياز رشته فرعي", 1, Kind::Text, 10},
    {"VATD1", "ارزش افزوده از تاريخ", 1, Kind::Date},
    {"VATD2", "ارزش افزوده تا تاريخ", 1, Kind::Date},
    {"LETTER", "شماره نامه ارزش افزوده", 1, Kind::Text, 10},
    {"LETTER_DATE", "تاريخ نامه ارزش افزوده", 1, Kind::Date},
    {"ADDRESS", "محل استقرار", 2, Kind::Text, 100},
    {"OSTAN", "استان", 2, Kind::Text, 10},
    {"CITY", "شهر", 2, Kind::Text, 10},
    {"POSTCODE", "کد پستي", 2, Kind::Text, 10},
    {"POSTBOX", "صندوق پستي", 2, Kind::Text, 12},
    {"TELL", "تلفن", 2, Kind::Text, 15},
    {"FAX", "دورنگار", 2, Kind::Text, 15},
    {"MOBILE", "تلفن همراه", 2, Kind::Text, 12},
    {"EMAIL", "پست الکترونيک", 2, Kind::Text, 25},
    {"WEB", "وب سايت", 2, Kind::Text, 25},
    {"HESABJARI1", "شماره حساب 1", 3, Kind::Text, 30},
    {"BANK1", "بانک حساب 1", 3, Kind::Index},
    {"CODSHOBE1", "کد شعبه 1", 3, Kind::Text, 10},
    {"SHOB1", "نام شعبه 1", 3, Kind::Text, 20},
    {"CITY1", "شهر شعبه 1", 3, Kind::Text, 10},
    {"HESABJARI2", "شماره حساب 2", 3, Kind::Text, 30},
    {"BANK2", "بانک حساب 2", 3, Kind::Index},
    {"CODSHOBE2", "کد شعبه 2", 3, Kind::Text, 10},
    {"SHOB2", "نام شعبه 2", 3, Kind::Text, 20},
    {"CITY2", "شهر شعبه 2", 3, Kind::Text, 10},
    {"SHABA", "شماره شبا IR", 3, Kind::Text, 28},
    {"IDENTIFIER", "شناسه واريز", 3, Kind::Text, 50},
    {"BANKMARKAZIACCOUNT", "حساب بانک مرکزي", 3, Kind::Text, 30},
    {"ADMIN_NAME", "امضاي اول (مدير)", 4, Kind::Text, 100},
    {"ADMIN_MELICODE", "کد ملي مدير", 4, Kind::Text, 10},
    {"EMZA_SECOND", "امضاي دوم", 4, Kind::Text, 100},
    {"NAMYNDE_NAME", "نام نماينده", 4, Kind::Text, 100},
    {"NAMYNDE_MELICODE", "کد ملي نماينده", 4, Kind::Text, 10},
    {"NAMYNDE_LTRNO", "شماره معرفي نامه نماينده", 4, Kind::Text, 15},
    {"NAMYNDE_LTRDATE", "تاريخ معرفي نامه نماينده", 4, Kind::Date},
    {"SAMADTAFSILKIND", "نوع شخص در سماد", 5, Kind::IndexPlusOne},
    {"SAMADTAFSILCAT", "طبقه شخص در سماد", 5, Kind::IndexPlusOne},
    {"NOMINEECODE", "شناسه سماد", 5, Kind::Text, 15},
    {"BOURSECODE", "کد معاملاتي بورس", 5, Kind::Text, 8},
};

int offsetOf(Kind kind) { return kind == Kind::IndexPlusOne ? 1 : 0; }

// A combo's choices with the value each stores.
QList<std::pair<int, QString>> comboItems(const QString& column, Kind kind)
{
    using namespace orvak::basedata;
    if (column == QLatin1String("SAMADTAFSILCAT"))
        return reportingCategories();
    QStringList texts;
    if (column == QLatin1String("TAFSILKIND"))
        texts = personKinds();
    else if (column == QLatin1String("KIND"))
        texts = companyKinds();
    else if (column == QLatin1String("SAMADTAFSILKIND"))
        texts = reportingPersonTypes();
    else
        texts = partyBanks();
    QList<std::pair<int, QString>> items;
    for (int i = 0; i < texts.size(); ++i)
        items.append({i + offsetOf(kind), texts[i]});
    return items;
}

void fillCombo(QComboBox* c, const QString& column, Kind kind)
{
    c->clear();
    for (const auto& [value, text] : comboItems(column, kind))
        c->addItem(text, value);
}

// Shows a stored value: NULL as no choice, a value beyond the list as its number.
void showStored(QComboBox* c, const QVariant& v)
{
    if (v.isNull() || !v.isValid() || v.toString().trimmed().isEmpty()) {
        c->setCurrentIndex(-1);
        return;
    }
    int i = c->findData(v.toInt());
    if (i < 0) {
        c->addItem(QString::number(v.toInt()), v.toInt());
        i = c->count() - 1;
    }
    c->setCurrentIndex(i);
}

} // namespace

TORVAK_DE_TAFSIL::TORVAK_DE_TAFSIL(startup::Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("اطلاعات پيمانکار"), parent)
    , session_(session)
    , accounts_(session)
{
    code = new QLineEdit(this);
    code->setMaxLength(10);
    form()->addRow(QStringLiteral("کد تفصيلي"), code);
    auto* tabs = new QTabWidget(this);
    QList<QFormLayout*> pages;
    for (const char* title : kPages) {
        auto* page = new QWidget(tabs);
        pages << new QFormLayout(page);
        tabs->addTab(page, QString::fromUtf8(title));
    }
    form()->addRow(tabs);

    for (const FieldRow& r : kRows) {
        const QString column = QString::fromLatin1(r.column);
        QWidget* editor = nullptr;
        if (r.kind == Kind::Index || r.kind == Kind::IndexPlusOne) {
            auto* c = new QComboBox(this);
            fillCombo(c, column, r.kind);
            combos_.insert(column, c);
            editor = c;
        } else {
            QLineEdit* e = r.kind == Kind::Date ? new framework::JalaliDateEdit(this) : new QLineEdit(this);
            if (r.length > 0)
                e->setMaxLength(r.length);
            texts_.insert(column, e);
            editor = e;
        }
        pages[r.page]->addRow(QString::fromUtf8(r.caption), editor);
        if (column == QLatin1String("KIND")) {
            group = new QComboBox(this);
            auto* more = new QToolButton(this);
            more->setText(QStringLiteral("..."));
            auto* box = new QHBoxLayout;
            box->addWidget(group, 1);
            box->addWidget(more);
            pages[0]->addRow(QStringLiteral("گروه"), box);
            connect(more, &QToolButton::clicked, this, &TORVAK_DE_TAFSIL::pickGroup);
        }
    }
    orvak::basedata::Trades trades(session_);
    auto tradeName = [trades](qint64 c) -> std::optional<QString> {
        const auto n = trades.nameOf(c);
        return n ? std::optional<QString>(*n) : std::nullopt;
    };
    auto tradePicker = [this](QWidget* p) { return pickTrade(p, session_); };
    trade1 = new framework::CodeEdit(tradeName, tradePicker, this);
    trade2 = new framework::CodeEdit(tradeName, tradePicker, this);
    pages[1]->insertRow(0, QStringLiteral("رشته اصلي"), trade1);
    pages[1]->insertRow(1, QStringLiteral("رشته فرعي"), trade2);
    ibanBank = new QLabel(this);
    pages[3]->addRow(QStringLiteral("بانک شبا"), ibanBank);
    auto* nominee = new QPushButton(QStringLiteral("توليد شناسه -->>"), this);
    nominee->setAutoDefault(false);
    pages[5]->addRow(QString(), nominee);
    connect(nominee, &QPushButton::clicked, this, &TORVAK_DE_TAFSIL::buildNomineeCode);
    for (const auto& [column, caption] : kPictures) {
        auto* shown = new QLabel(this);
        shown->setFixedSize(160, 120);
        shown->setFrameShape(QFrame::Box);
        auto* choose = new QPushButton(QStringLiteral("انتخاب ") + QString::fromUtf8(caption), this);
        choose->setAutoDefault(false);
        pictures_.insert(QString::fromLatin1(column), shown);
        pages[6]->addRow(choose, shown);
        connect(choose, &QPushButton::clicked, this, [this, name = QString::fromLatin1(column)] {
            const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), QStringLiteral("تصوير (*.jpg *.jpeg *.png *.bmp)"));
            QFile file(path);
            if (!path.isEmpty() && (!file.open(QIODevice::ReadOnly) || !setPicture(name, file.readAll())))
                framework::ShowError(QStringLiteral("فايل تصوير خوانده نشد : ") + path, this);
        });
    }

    // The checks of leaving a field.
    connect(texts_.value(QStringLiteral("NID")), &QLineEdit::editingFinished, this, [this] {
        framework::MessagePrompt prompt(this);
        accounts_.checkNationalId(typedNumber(code).value_or(0), field(QStringLiteral("NAME"))->text(), field(QStringLiteral("NID"))->text(), prompt);
    });
    connect(texts_.value(QStringLiteral("NAME")), &QLineEdit::editingFinished, this, [this] {
        framework::MessagePrompt prompt(this);
        if (accounts_.nameHeldElsewhere(typedNumber(code).value_or(0), field(QStringLiteral("NAME"))->text(), prompt))
            field(QStringLiteral("NAME"))->setFocus();
    });
    connect(texts_.value(QStringLiteral("BOURSECODE")), &QLineEdit::editingFinished, this, [this] {
        framework::MessagePrompt prompt(this);
        accounts_.checkBourseCode(typedNumber(code).value_or(0), field(QStringLiteral("BOURSECODE"))->text(), prompt);
    });
    connect(texts_.value(QStringLiteral("SHABA")), &QLineEdit::editingFinished, this, [this] {
        showIbanBank();
        framework::MessagePrompt prompt(this);
        accounts_.checkIban(field(QStringLiteral("SHABA"))->text(), prompt);
    });
}

void TORVAK_DE_TAFSIL::fillGroups()
{
    group->clear();
    group->addItem(QString(), QVariant());
    if (const auto rows = orvak::basedata::DetailGroups(session_).ofSection()) {
        for (const auto& [c, name] : *rows)
            group->addItem(QStringLiteral("%1 - %2").arg(c).arg(name), c);
    }
}

void TORVAK_DE_TAFSIL::pickGroup()
{
    if (const auto picked = pickGroups(this, session_); picked && !picked->isEmpty())
        group->setCurrentIndex(std::max(0, group->findData(picked->first())));
}

void TORVAK_DE_TAFSIL::showIbanBank()
{
    const QString iban = util::ibanOfIran(field(QStringLiteral("SHABA"))->text());
    const QString bank = util::ibanBankCode(iban);
    ibanBank->setText(bank.isEmpty() ? QString() : bank + QStringLiteral(" - ") + util::ibanBankName(bank));
}

void TORVAK_DE_TAFSIL::buildNomineeCode()
{
    framework::MessagePrompt prompt(this);
    // A stored position this list does not know has no category code to build from.
    QComboBox* category = combo(QStringLiteral("SAMADTAFSILCAT"));
    const QString row = category->currentIndex() < 0 || category->currentText().size() < 4 ? QString() : category->currentText();
    const auto n = orvak::basedata::buildNomineeCode(row, field(QStringLiteral("NID"))->text(), prompt);
    field(QStringLiteral("NID"))->setText(n.nationalId);
    field(QStringLiteral("NOMINEECODE"))->setText(n.code.left(15));
}

bool TORVAK_DE_TAFSIL::setPicture(const QString& column, const QByteArray& image)
{
    if (!pictures_.contains(column) || QPixmap().loadFromData(image) == false)
        return false;
    kept_.insert(column, image);
    showPictures();
    return true;
}

void TORVAK_DE_TAFSIL::showPictures()
{
    for (auto it = pictures_.begin(); it != pictures_.end(); ++it) {
        QPixmap p;
        p.loadFromData(kept_.value(it.key()).toByteArray());
        it.value()->setPixmap(p.isNull() ? QPixmap() : p.scaled(it.value()->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
}

void TORVAK_DE_TAFSIL::clearFields()
{
    kept_.clear();
    showPictures();
    for (QLineEdit* e : std::as_const(texts_))
        e->clear();
    shown_.clear();
    for (const FieldRow& r : kRows) {
        if (QComboBox* c = combo(QString::fromLatin1(r.column))) {
            fillCombo(c, QString::fromLatin1(r.column), r.kind);
            c->setCurrentIndex(0);
        }
    }
    trade1->setCode(std::nullopt);
    trade2->setCode(std::nullopt);
    fillGroups();
    ibanBank->clear();
    code->setReadOnly(false);
    const auto next = accounts_.proposedCode();
    if (next.failed())
        framework::ShowError(next.error(), this);
    code->setText(next ? QString::number(*next) : QString());
}

bool TORVAK_DE_TAFSIL::loadRecord(const QVariant& key)
{
    const auto a = accounts_.read(key.toLongLong());
    if (!a) {
        framework::ShowError(a.failed() ? a.error() : QStringLiteral(" يافت نشــد "), this);
        return false;
    }
    clearFields();
    kept_ = a->values;
    code->setText(QString::number(a->code));
    code->setReadOnly(true);
    for (auto it = texts_.begin(); it != texts_.end(); ++it) {
        if (auto* date = qobject_cast<framework::JalaliDateEdit*>(it.value()))
            date->setDate(a->text(it.key()));
        else
            it.value()->setText(a->text(it.key()));
    }
    for (const FieldRow& r : kRows) {
        if (QComboBox* c = combo(QString::fromLatin1(r.column)))
            showStored(c, a->values.value(QString::fromLatin1(r.column)));
    }
    const QVariant g = a->values.value(QStringLiteral("GROUPS"));
    group->setCurrentIndex(g.isNull() ? 0 : group->findData(g.toLongLong()));
    for (auto [edit, column] : {std::pair{trade1, "RASTEH1"}, std::pair{trade2, "RASTEH2"}}) {
        const QVariant t = a->values.value(QString::fromLatin1(column));
        edit->setCode(t.isNull() || t.toInt() == 0 ? std::nullopt : std::optional<qint64>(t.toLongLong()));
    }
    showIbanBank();
    showPictures();
    // What each field shows of the stored row: a field left so hands the stored
    // value back, whatever the field can or cannot show of it.
    for (const QString& column : editedColumns())
        shown_.insert(column, shownState(column));
    return true;
}

QStringList TORVAK_DE_TAFSIL::editedColumns() const
{
    QStringList columns = texts_.keys() + combos_.keys();
    columns << QStringLiteral("GROUPS") << QStringLiteral("RASTEH1") << QStringLiteral("RASTEH2");
    return columns;
}

QVariant TORVAK_DE_TAFSIL::shownState(const QString& column) const
{
    if (const QLineEdit* e = texts_.value(column))
        return e->text();
    if (const QComboBox* c = combos_.value(column))
        return QStringList{QString::number(c->currentIndex()), c->currentText()};
    if (column == QLatin1String("GROUPS"))
        return QStringList{QString::number(group->currentIndex()), group->currentText()};
    const framework::CodeEdit* trade = column == QLatin1String("RASTEH1") ? trade1 : trade2;
    return trade->editor()->text();
}

DetailAccount TORVAK_DE_TAFSIL::account() const
{
    DetailAccount a;
    a.code = typedNumber(code).value_or(0);
    a.values = kept_;
    for (auto it = texts_.begin(); it != texts_.end(); ++it) {
        const auto* date = qobject_cast<const framework::JalaliDateEdit*>(it.value());
        a.values.insert(it.key(), date && date->isEmptyDate() ? QString() : it.value()->text());
    }
    const QVariant none(QMetaType(QMetaType::Int));
    for (auto it = combos_.begin(); it != combos_.end(); ++it)
        a.values.insert(it.key(), it.value()->currentIndex() < 0 ? none : it.value()->currentData());
    const QVariant g = group->currentData();
    a.values.insert(QStringLiteral("GROUPS"), g.isValid() ? g : none);
    a.values.insert(QStringLiteral("RASTEH1"), trade1->code() ? QVariant(*trade1->code()) : none);
    a.values.insert(QStringLiteral("RASTEH2"), trade2->code() ? QVariant(*trade2->code()) : none);
    // A field the user left as it was shown hands back what the row holds.
    for (auto it = shown_.begin(); it != shown_.end(); ++it) {
        if (shownState(it.key()) == it.value())
            a.values.insert(it.key(), kept_.value(it.key()));
    }
    return a;
}

bool TORVAK_DE_TAFSIL::validate(QString* message)
{
    if (!code->text().trimmed().isEmpty() && !typedNumber(code)) {
        *message = QStringLiteral("کد تفصيلي بايد عدد باشد : ") + code->text().left(20);
        return false;
    }
    return true;
}

std::optional<QVariant> TORVAK_DE_TAFSIL::saveRecord(QString* error)
{
    const DetailAccount a = account();
    startup::CollectingPrompt collect;
    if (!accounts_.save(a, mode() == Mode::Insert, collect)) {
        *error = collect.text();
        return std::nullopt;
    }
    if (!collect.infos.isEmpty())
        framework::ShowInfo(collect.text(), this);
    return QVariant(a.code);
}

} // namespace orvak::ui::basedata
