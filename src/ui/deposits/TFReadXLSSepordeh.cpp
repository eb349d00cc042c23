#include "ui/deposits/TFReadXLSSepordeh.h"

#include "core/deposits/DepositKinds.h"
#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::deposits {

using namespace orvak::deposits;

TFReadXLSSepordeh::TFReadXLSSepordeh(orvak::startup::Session& session, QWidget* parent)
    : QWidget(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("خواندن اطلاعات سپرده ها از فايل اکسل"));
    setLayoutDirection(Qt::RightToLeft);
    file = new QLineEdit(this);
    file->setObjectName(QStringLiteral("file"));
    auto* browse = new QPushButton(QStringLiteral("انتخاب فايل اکسل"), this);
    sheets = new QComboBox(this);
    sheets->setObjectName(QStringLiteral("sheets"));
    kind = new QComboBox(this);
    kind->setObjectName(QStringLiteral("kind"));
    for (const DepositKind& k : depositKinds())
        kind->addItem(kindFormText(k.code), k.code);
    kind->setCurrentIndex(kind->findData(1));

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("فايل اکسل"), this), 0, 0);
    top->addWidget(file, 0, 1);
    top->addWidget(browse, 0, 2);
    top->addWidget(new QLabel(QStringLiteral("صفحه مورد نظر"), this), 1, 0);
    top->addWidget(sheets, 1, 1, 1, 2);
    top->addWidget(new QLabel(QStringLiteral("نوع سپرده"), this), 2, 0);
    top->addWidget(kind, 2, 1, 1, 2);

    auto* grid = new QGridLayout;
    int i = 0;
    for (const ImportFieldInfo& f : importFields()) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(f.key);
        combo->setMinimumWidth(160);
        fields.insert(int(f.field), combo);
        const int row = i / 2, col = (i % 2) * 2;
        grid->addWidget(new QLabel(f.caption, this), row, col);
        grid->addWidget(combo, row, col + 1);
        ++i;
    }

    auto* save = new QPushButton(QStringLiteral("ثبت  انتخاب  فيلدها"), this);
    auto* restore = new QPushButton(QStringLiteral("بازيابي انتخاب فيلد"), this);
    auto* clear = new QPushButton(QStringLiteral("پاک کردن انتخاب فيلدها"), this);
    auto* run = new QPushButton(QStringLiteral("اضافه نمودن اطلاعات  اکسل به سپرده هاي دريافتي"), this);
    run->setObjectName(QStringLiteral("run"));
    auto* help = new QPushButton(QStringLiteral("راهنما(F1)"), this);
    auto* quit = new QPushButton(QStringLiteral("خروج (Esc)"), this);
    stop = new QPushButton(QStringLiteral("توقف"), this);
    stop->setEnabled(false);
    bar = new QProgressBar(this);
    bar->setRange(0, 0);
    bar->setVisible(false);
    status = new QLabel(QStringLiteral("ابتدا نام فايل و سپس  اسامي ستونهاي متناظر را مشخص فرمائيد."), this);

    connect(browse, &QPushButton::clicked, this, [this] {
        const QString f = QFileDialog::getOpenFileName(this, QStringLiteral("انتخاب فايل اکسل"), file->text(),
                                                       QStringLiteral("Excel (*.xls *.xlsx *.XLS *.XLSX);;CSV (*.csv *.CSV)"));
        if (!f.isEmpty())
            openFile(f);
    });
    connect(file, &QLineEdit::editingFinished, this, [this] {
        if (!file->text().isEmpty() && file->text() != path_)
            openFile(file->text());
    });
    connect(sheets, &QComboBox::activated, this, [this](int s) { showSheet(s); });
    connect(save, &QPushButton::clicked, this, [this] { saveMapping(); });
    connect(restore, &QPushButton::clicked, this, [this] { restoreMapping(); });
    connect(clear, &QPushButton::clicked, this, [this] { clearMapping(); });
    connect(run, &QPushButton::clicked, this, [this] { runImport(); });
    connect(stop, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    connect(help, &QPushButton::clicked, this, [this] {
        framework::ShowInfo(QStringLiteral("ابتدا نام فايل و سپس  اسامي ستونهاي متناظر را مشخص فرمائيد.") + QLatin1Char('\n')
                                + QStringLiteral("رديف اول صفحه عنوان ستونهاست؛ رديفي که ستون «استرداد؟» آن 1 باشد استرداد هم مي شود."),
                            this);
    });

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {save, restore, clear})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* actions = new QHBoxLayout;
    actions->addWidget(run);
    actions->addWidget(stop);
    actions->addStretch();
    actions->addWidget(help);
    actions->addWidget(quit);
    auto* box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addLayout(grid);
    box->addLayout(buttons);
    box->addWidget(bar);
    box->addWidget(status);
    box->addLayout(actions);
}

bool TFReadXLSSepordeh::openFile(const QString& path)
{
    QString why;
    const auto info = sheetsOf(path, &why);
    sheets->clear();
    titles_.clear();
    path_.clear();
    for (QComboBox* c : fields)
        c->clear();
    if (!info) {
        framework::ShowError(why, this);
        return false;
    }
    path_ = path;
    file->setText(path);
    for (const QString& s : info->sheets)
        sheets->addItem(QLatin1Char('[') + s + QLatin1Char(']'));
    return sheets->count() > 0 && showSheet(0);
}

bool TFReadXLSSepordeh::showSheet(int sheet)
{
    const ImportMapping kept = mapping();
    QString why;
    const auto titles = columnTitles(path_, sheet, &why);
    if (!titles) {
        framework::ShowError(why, this);
        return false;
    }
    titles_ = *titles;
    for (QComboBox* c : fields) {
        c->clear();
        c->addItem(QString());
        c->addItems(titles_);
    }
    setMapping(kept);
    return true;
}

ImportMapping TFReadXLSSepordeh::mapping() const
{
    ImportMapping m;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        m.set(ImportField(it.key()), it.value()->currentText());
    return m;
}

void TFReadXLSSepordeh::setMapping(const ImportMapping& m)
{
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        QComboBox* c = it.value();
        const QString column = m.column(ImportField(it.key()));
        int at = column.isEmpty() ? 0 : c->findText(column);
        if (at < 0) {
            // A restored title this sheet lacks stays shown, and the import names it.
            c->addItem(column);
            at = c->count() - 1;
        }
        c->setCurrentIndex(at);
    }
}

bool TFReadXLSSepordeh::saveMapping()
{
    QString why;
    if (!mapping().save(mappingFilePath(session_.startDir()), &why)) {
        framework::ShowError(why, this);
        return false;
    }
    status->setText(QStringLiteral("انتخاب فيلدها ثبت شد"));
    return true;
}

bool TFReadXLSSepordeh::restoreMapping()
{
    QString why;
    const auto m = ImportMapping::load(mappingFilePath(session_.startDir()), &why);
    if (!m) {
        framework::ShowError(why, this);
        return false;
    }
    setMapping(*m);
    return true;
}

void TFReadXLSSepordeh::clearMapping() { setMapping({}); }

ImportResult TFReadXLSSepordeh::runImport()
{
    if (running_)
        return {};
    ImportRequest r;
    r.path = path_;
    r.sheet = sheets->currentIndex();
    r.mapping = mapping();
    r.kind = kind->currentData().toInt();
    framework::MessagePrompt prompt(this);
    if (path_.isEmpty()) {
        prompt.info(QStringLiteral("ابتدا نام فايل و سپس  اسامي ستونهاي متناظر را مشخص فرمائيد."));
        return {};
    }
    running_ = true;
    stopRequested_ = false;
    stop->setEnabled(true);
    bar->setVisible(true);
    const ImportResult done = DepositImport(session_).run(r, prompt, [this](int rows) {
        status->setText(QStringLiteral("%1 رديف خوانده شد").arg(rows));
        QApplication::processEvents();
        return !stopRequested_;
    });
    bar->setVisible(false);
    stop->setEnabled(false);
    running_ = false;
    if (done)
        status->setText(QStringLiteral("%1 سپرده، %2 پيمانکار جديد، %3 پروژه جديد، %4 استرداد")
                            .arg(done.deposits).arg(done.ownersCreated).arg(done.projectsCreated).arg(done.refunds));
    else
        status->setText(done.message);
    return done;
}

void TFReadXLSSepordeh::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !running_) {
        close();
        return;
    }
    if (event->key() == Qt::Key_F1) {
        framework::ShowInfo(QStringLiteral("ابتدا نام فايل و سپس  اسامي ستونهاي متناظر را مشخص فرمائيد."), this);
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace orvak::ui::deposits
