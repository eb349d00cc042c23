#include "ui/deposits/TreasuryFileView.h"

#include "core/io/Report.h"
#include "core/util/CodePage1256.h"
#include "core/util/Numbers.h"
#include "ui/framework/ShowFileDialog.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QPlainTextEdit>
#include <QUrl>
#include <QVBoxLayout>

namespace orvak::ui::deposits {

QString treasuryFileText(const QString& path, bool utf8)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    return utf8 ? QString::fromUtf8(bytes) : util::decode1256(bytes);
}

void showTreasuryFile(const QString& path, const QString& text, QWidget* parent)
{
    if (text.isEmpty()) {
        framework::TfrmShowFile box(path, parent);
        box.exec();
        return;
    }
    QDialog box(parent);
    box.setWindowTitle(QStringLiteral("نمايش فايل خروجي"));
    auto* layout = new QVBoxLayout(&box);
    auto* view = new QPlainTextEdit(text, &box);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFont(QStringLiteral("monospace")));
    layout->addWidget(view);
    box.resize(900, 500);
    box.exec();
}

void openTreasuryFile(const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

QString countText(int count) { return QStringLiteral("تعداد:") + QLatin1Char(' ') + io::isolateLtr(QString::number(count)); }
QString totalText(qint64 sum)
{
    return QStringLiteral("جمع کل :") + QLatin1Char(' ') + io::isolateLtr(sum ? util::FormatAmount(sum) : QStringLiteral("0"));
}

} // namespace orvak::ui::deposits
