#include "ui/statements/TFReadSurathesabFromExcel.h"

#include "ui/framework/MessageBoxes.h"
#include "core/io/Workbook.h"
#include "core/util/AtomicFile.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvak::ui::statements {

bool writeSheetAsText(const QList<QStringList>& rows, const QString& path, QString* error)
{
    QByteArray out;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (QString c : row) {
            for (QChar& ch : c) {
                if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
                    ch = QLatin1Char(' ');
            }
            cells << c;
        }
        out += cells.join(QLatin1Char('\t')).toUtf8() + "\r\n";
    }
    return util::writeFileAtomically(path, out, error);
}

TFReadSurathesabFromExcel::TFReadSurathesabFromExcel(orvak::startup::Session&, QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("تبديل فايل اکسل صورتحساب"));
    setLayoutDirection(Qt::RightToLeft);
    file = new QLineEdit(this);
    auto* browse = new QPushButton(QStringLiteral("انتخاب فايل اکسل"), this);
    sheets = new QComboBox(this);
    rows = new QTableWidget(this);
    status = new QLabel(this);
    auto* convert = new QPushButton(QStringLiteral("تبديل به فايل متني TMP"), this);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString f = QFileDialog::getOpenFileName(this, QStringLiteral("انتخاب فايل اکسل"), file->text(),
                                                       QStringLiteral("Excel (*.xls *.xlsx *.XLS *.XLSX)"));
        if (!f.isEmpty())
            openWorkbook(f);
    });
    connect(file, &QLineEdit::editingFinished, this, [this] {
        if (!file->text().isEmpty() && file->text() != path_)
            openWorkbook(file->text());
    });
    connect(sheets, &QComboBox::activated, this, [this](int i) { showSheet(i); });
    connect(convert, &QPushButton::clicked, this, [this] {
        const QString tmp = writeTmp();
        if (!tmp.isEmpty())
            framework::ShowInfo(QStringLiteral("فايل %1 ساخته شد").arg(QFileInfo(tmp).fileName()), this);
    });
    auto* top = new QHBoxLayout;
    top->addWidget(file, 1);
    top->addWidget(browse);
    top->addWidget(new QLabel(QStringLiteral("کاربرگ"), this));
    top->addWidget(sheets);
    auto* box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addWidget(rows, 1);
    box->addWidget(status);
    box->addWidget(convert);
    resize(800, 520);
}

bool TFReadSurathesabFromExcel::openWorkbook(const QString& path)
{
    QString why;
    const std::unique_ptr<io::Workbook> book = io::Workbook::open(path, &why);
    sheets->clear();
    rows->clear();
    cells_.clear();
    path_ = path;
    file->setText(path);
    if (!book) {
        framework::ShowError(why, this);
        return false;
    }
    for (const QString& name : book->sheetNames())
        sheets->addItem(QLatin1Char('[') + name + QLatin1Char(']'));
    return showSheet(0);
}

bool TFReadSurathesabFromExcel::showSheet(int sheet)
{
    QString why;
    const std::unique_ptr<io::Workbook> book = io::Workbook::open(path_, &why);
    if (!book || !book->readAll(sheet, cells_, &why)) {
        framework::ShowError(why, this);
        return false;
    }
    int columns = 0;
    for (const QStringList& r : cells_)
        columns = std::max(columns, int(r.size()));
    rows->setRowCount(int(std::min<qsizetype>(cells_.size(), 500)));
    rows->setColumnCount(columns);
    for (int r = 0; r < rows->rowCount(); ++r) {
        for (int c = 0; c < cells_[r].size(); ++c)
            rows->setItem(r, c, new QTableWidgetItem(cells_[r][c]));
    }
    status->setText(QStringLiteral("%1 سطر").arg(cells_.size()));
    return true;
}

QString TFReadSurathesabFromExcel::writeTmp()
{
    if (path_.isEmpty() || cells_.isEmpty()) {
        framework::ShowInfo(QStringLiteral("ابتدا فايل اکسل و کاربرگ را انتخاب کنيد"), this);
        return {};
    }
    const QFileInfo info(path_);
    const QString target = info.dir().filePath(info.completeBaseName() + QStringLiteral(".TMP"));
    QString why;
    if (!writeSheetAsText(cells_, target, &why)) {
        framework::ShowError(why, this);
        return {};
    }
    return target;
}

} // namespace orvak::ui::statements
