#include "ui/deposits/TfGenDisketSuratRizErsali.h"

#include "core/deposits/DepositKinds.h"
#include "core/startup/Session.h"
#include "ui/deposits/TreasuryFileView.h"
#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace orvak::ui::deposits {

using namespace orvak::deposits;

TfGenDisketSuratRizErsali::TfGenDisketSuratRizErsali(startup::Session& session, int y, int m, bool all, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("TfGenDisketSuratRizErsali"));
    setWindowTitle(QStringLiteral("تهيه ديسکت صورت ريز ارسالي به خزانه"));
    setLayoutDirection(Qt::RightToLeft);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(new QLabel(QStringLiteral("<b>ابتدا قالب فايل مربوط به سازمان خود را انتخاب کنيد</b>"), this));
    format = new QComboBox(this);
    format->setObjectName(QStringLiteral("SelFormat"));
    for (const TreasuryLayout& l : listLayouts())
        format->addItem(l.caption);
    format->setCurrentIndex(-1);
    const QString today = session_.clock().todayJalali();
    fileDate = new framework::JalaliDateEdit(this);
    fileDate->setDate(today);
    agency = new QLineEdit(DefaultAgencyCode, this);
    letterNo = new QLineEdit(this);
    letterNo->setToolTip(QStringLiteral("شماره و تاريخ نامه ذيحسابي"));
    letterDate = new framework::JalaliDateEdit(this);
    letterDate->setToolTip(QStringLiteral("شماره و تاريخ نامه ذيحسابي"));
    year = new QSpinBox(this);
    year->setRange(1300, 1600);
    year->setValue(y > 0 ? y : session_.clock().year());
    month = new QComboBox(this);
    month->addItems(monthTexts());
    month->setCurrentIndex(std::clamp(m, 1, MonthCount) - 1);
    amountKind = new QComboBox(this);
    amountKind->addItems(listAmountTexts());
    paidDate = new framework::JalaliDateEdit(this);
    paidDate->setDate(today);
    upToMonth = new QCheckBox(QStringLiteral("سپرده ها تا ماه"), this);
    upToMonth->setChecked(all);
    folder = new QLineEdit(QDir::toNativeSeparators(defaultSendFolder(session_.startDir())), this);
    fileName = new QLineEdit(this);
    count = new QLabel(countText(0), this);
    total = new QLabel(totalText(0), this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("قالب  فايل:"), format);
    form->addRow(QStringLiteral("تاريخ ايجاد فايل"), fileDate);
    form->addRow(QStringLiteral("کد دستگاه اجرائي:"), agency);
    auto* letter = new QHBoxLayout;
    letter->addWidget(new QLabel(QStringLiteral("شماره نامه"), this));
    letter->addWidget(letterNo);
    letter->addWidget(new QLabel(QStringLiteral("تاريخ نامه"), this));
    letter->addWidget(letterDate);
    form->addRow(letter);
    auto* period = new QHBoxLayout;
    period->addWidget(year);
    period->addWidget(month);
    period->addWidget(upToMonth);
    form->addRow(QStringLiteral("سال و ماه فرستادن ليست دريافت"), period);
    form->addRow(QStringLiteral("نوع مبلغ"), amountKind);
    form->addRow(QStringLiteral("تاريخ واريز به خزانه"), paidDate);
    auto* params = new QGroupBox(QStringLiteral("پارامترها  و الزامات - پارامترهاي کلي"), this);
    params->setLayout(form);
    outer->addWidget(params);
    auto* files = new QFormLayout;
    auto* folderRow = new QHBoxLayout;
    auto* pickFolder = new QPushButton(QStringLiteral("انتخاب مسير"), this);
    folderRow->addWidget(folder);
    folderRow->addWidget(pickFolder);
    files->addRow(QStringLiteral("مسير:"), folderRow);
    auto* nameRow = new QHBoxLayout;
    auto* defaultName = new QPushButton(QStringLiteral("تعيين نام پيش فرض"), this);
    auto* pickFile = new QPushButton(QStringLiteral("انتخاب فايل"), this);
    nameRow->addWidget(fileName);
    nameRow->addWidget(defaultName);
    nameRow->addWidget(pickFile);
    files->addRow(QStringLiteral("نام فايل:"), nameRow);
    outer->addLayout(files);
    auto* totals = new QHBoxLayout;
    totals->addWidget(count);
    totals->addWidget(total);
    outer->addLayout(totals);
    auto* buttons = new QHBoxLayout;
    auto* go = new QPushButton(QStringLiteral("تهيه فايل"), this);
    auto* show = new QPushButton(QStringLiteral("نمايش فايل خروجي"), this);
    auto* leave = new QPushButton(QStringLiteral("خروج بدون ذخيره"), this);
    for (QPushButton* b : {go, show, leave}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);

    connect(format, &QComboBox::currentIndexChanged, this, [this] {
        setDefaultName();
        refreshTotals();
    });
    connect(year, &QSpinBox::valueChanged, this, [this] { refreshTotals(); });
    connect(month, &QComboBox::currentIndexChanged, this, [this] { refreshTotals(); });
    connect(amountKind, &QComboBox::currentIndexChanged, this, [this] { refreshTotals(); });
    connect(upToMonth, &QCheckBox::toggled, this, [this] { refreshTotals(); });
    connect(defaultName, &QPushButton::clicked, this, [this] { setDefaultName(); });
    connect(pickFolder, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("انتخاب مسير"), folder->text());
        if (!dir.isEmpty())
            folder->setText(QDir::toNativeSeparators(dir));
    });
    connect(pickFile, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("انتخاب فايل"), folder->text());
        if (file.isEmpty())
            return;
        const QFileInfo fi(file);
        folder->setText(QDir::toNativeSeparators(fi.absolutePath()));
        fileName->setText(fi.fileName());
    });
    connect(go, &QPushButton::clicked, this, [this] { write(); });
    connect(show, &QPushButton::clicked, this, [this] { showWritten(); });
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);
}

ListFileInput TfGenDisketSuratRizErsali::input() const
{
    ListFileInput in;
    in.layout = format->currentIndex() + 1;
    in.year = year->value();
    in.month = month->currentIndex() + 1;
    in.upToMonth = upToMonth->isChecked();
    in.fileDate = fileDate->isEmptyDate() ? QString() : fileDate->text();
    in.agencyCode = agency->text().trimmed();
    in.letterNo = letterNo->text();
    in.letterDate = letterDate->isEmptyDate() ? QString() : letterDate->text();
    in.paidDate = paidDate->isEmptyDate() ? QString() : paidDate->text();
    in.amount = ListAmount(std::max(0, amountKind->currentIndex()));
    in.folder = QDir::fromNativeSeparators(folder->text().trimmed());
    in.fileName = fileName->text().trimmed();
    return in;
}

void TfGenDisketSuratRizErsali::setDefaultName()
{
    const ListFileInput in = input();
    fileName->setText(defaultListFileName(in.layout, in.year, in.month, in.agencyCode, in.fileDate));
}

void TfGenDisketSuratRizErsali::refreshTotals()
{
    const ListFileInput in = input();
    if (in.layout < 1)
        return;
    const auto content = TreasuryFiles(session_).listContent(in);
    count->setText(countText(content ? content->count() : 0));
    total->setText(totalText(content ? content->sum : 0));
}

WrittenFile TfGenDisketSuratRizErsali::write()
{
    framework::MessagePrompt boxes(this);
    startup::Prompt& prompt = prompt_ ? *prompt_ : static_cast<startup::Prompt&>(boxes);
    const ListFileInput in = input();
    const WrittenFile w = TreasuryFiles(session_).writeListFile(in, prompt);
    if (w) {
        written_ = w.path;
        writtenLayout_ = in.layout;
        count->setText(countText(w.count));
        total->setText(totalText(w.sum));
    }
    return w;
}

QString TfGenDisketSuratRizErsali::writtenText() const
{
    const TreasuryLayout* l = listLayout(writtenLayout_);
    if (written_.isEmpty() || !l || l->kind != TreasuryFileKind::Text)
        return {};
    return treasuryFileText(written_, l->text.encoding == TreasuryEncoding::Utf8);
}

void TfGenDisketSuratRizErsali::showWritten()
{
    if (!written_.isEmpty())
        showTreasuryFile(written_, writtenText(), this);
}

} // namespace orvak::ui::deposits
