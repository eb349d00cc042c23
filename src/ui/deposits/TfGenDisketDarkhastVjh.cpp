#include "ui/deposits/TfGenDisketDarkhastVjh.h"

#include "core/deposits/FundRequests.h"
#include "core/startup/Session.h"
#include "ui/deposits/TreasuryFileView.h"
#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orvak::ui::deposits {

using namespace orvak::deposits;

TfGenDisketDarkhastVjh::TfGenDisketDarkhastVjh(startup::Session& session, int reqIdx, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , reqIdx_(reqIdx)
{
    setObjectName(QStringLiteral("TfGenDisketDarkhastVjh"));
    setWindowTitle(QStringLiteral("تهيه ديسکت صورت ريز درخواست وجه از خزانه"));
    setLayoutDirection(Qt::RightToLeft);
    reqNo_ = FundRequests(session_).read(reqIdx).value_or({}).reqNo;

    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(QStringLiteral("<b>ابتدا قالب فايل مربوط به سازمان خود را انتخاب کنيد</b>"), this));
    requestNo = new QLineEdit(QString::number(reqIdx).rightJustified(4, QLatin1Char('0')), this);
    requestNo->setObjectName(QStringLiteral("ED_DRKHASTVJH"));
    requestNo->setReadOnly(true);
    date = new framework::JalaliDateEdit(this);
    date->setDate(session_.clock().todayJalali());
    agency = new QLineEdit(DefaultAgencyCode, this);
    format = new QComboBox(this);
    format->setObjectName(QStringLiteral("SelFormat"));
    for (const TreasuryLayout& l : requestLayouts())
        format->addItem(l.caption);
    format->setCurrentIndex(1);
    folder = new QLineEdit(QDir::toNativeSeparators(defaultSendFolder(session_.startDir())), this);
    fileName = new QLineEdit(this);
    count = new QLabel(this);
    total = new QLabel(this);

    form->addRow(QStringLiteral("شماره درخواست:"), requestNo);
    form->addRow(QStringLiteral("تاريخ درخواست:"), date);
    form->addRow(QStringLiteral("کد دستگاه اجرائي:"), agency);
    form->addRow(QStringLiteral("قالب  فايل:"), format);
    auto* folderRow = new QHBoxLayout;
    auto* pickFolder = new QPushButton(QStringLiteral("انتخاب مسير"), this);
    folderRow->addWidget(folder);
    folderRow->addWidget(pickFolder);
    form->addRow(QStringLiteral("مسير:"), folderRow);
    auto* nameRow = new QHBoxLayout;
    auto* defaultName = new QPushButton(QStringLiteral("تعيين نام پيش فرض"), this);
    auto* pickFile = new QPushButton(QStringLiteral("انتخاب فايل"), this);
    nameRow->addWidget(fileName);
    nameRow->addWidget(defaultName);
    nameRow->addWidget(pickFile);
    form->addRow(QStringLiteral("نام فايل:"), nameRow);
    auto* totals = new QHBoxLayout;
    totals->addWidget(count);
    totals->addWidget(total);
    form->addRow(totals);
    auto* buttons = new QHBoxLayout;
    auto* go = new QPushButton(QStringLiteral("انتقال اطلاعات به ديسکت"), this);
    auto* show = new QPushButton(QStringLiteral("نمايش فايل خروجي"), this);
    auto* open = new QPushButton(QStringLiteral("باز کردن فايل"), this);
    auto* leave = new QPushButton(QStringLiteral("خروج بدون ذخيره"), this);
    for (QPushButton* b : {go, show, open, leave}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    form->addRow(buttons);

    connect(format, &QComboBox::currentIndexChanged, this, [this] { setDefaultName(); });
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
    connect(open, &QPushButton::clicked, this, [this] {
        if (!written_.isEmpty())
            openTreasuryFile(written_);
    });
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);
    setDefaultName();
    refreshTotals();
}

RequestFileInput TfGenDisketDarkhastVjh::input() const
{
    RequestFileInput in;
    in.reqIdx = reqIdx_;
    in.layout = format->currentIndex() + 1;
    in.date = date->isEmptyDate() ? QString() : date->text();
    in.agencyCode = agency->text().trimmed();
    in.folder = QDir::fromNativeSeparators(folder->text().trimmed());
    in.fileName = fileName->text().trimmed();
    return in;
}

void TfGenDisketDarkhastVjh::setDefaultName()
{
    const RequestFileInput in = input();
    fileName->setText(defaultRequestFileName(in.layout, in.date, reqNo_));
}

void TfGenDisketDarkhastVjh::refreshTotals()
{
    const auto content = TreasuryFiles(session_).requestContent(input());
    count->setText(countText(content ? content->count() : 0));
    total->setText(totalText(content ? content->sum : 0));
}

WrittenFile TfGenDisketDarkhastVjh::write()
{
    framework::MessagePrompt boxes(this);
    startup::Prompt& prompt = prompt_ ? *prompt_ : static_cast<startup::Prompt&>(boxes);
    const RequestFileInput in = input();
    const WrittenFile w = TreasuryFiles(session_).writeRequestFile(in, prompt);
    if (w) {
        written_ = w.path;
        writtenLayout_ = in.layout;
        count->setText(countText(w.count));
        total->setText(totalText(w.sum));
    }
    return w;
}

QString TfGenDisketDarkhastVjh::writtenText() const
{
    const TreasuryLayout* l = requestLayout(writtenLayout_);
    if (written_.isEmpty() || !l || l->kind != TreasuryFileKind::Text)
        return {};
    return treasuryFileText(written_, l->text.encoding == TreasuryEncoding::Utf8);
}

void TfGenDisketDarkhastVjh::showWritten()
{
    if (!written_.isEmpty())
        showTreasuryFile(written_, writtenText(), this);
}

} // namespace orvak::ui::deposits
