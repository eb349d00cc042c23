#include "ui/startup/TFManager.h"

#include "core/db/Server.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace orvak::ui::startup {

TFManager::TFManager(Session& session, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Orvak Manager"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QPlainTextEdit(this);
    text->setReadOnly(true);
    QStringList lines;
    lines << QStringLiteral("Server: ") + session.connection().serverName;
    if (session.server())
        lines << QStringLiteral("Version: ") + session.server()->versionText() << QStringLiteral("Databases: ") + session.server()->databaseNames().join(QStringLiteral(", "));
    lines << QStringLiteral("Common: ") + session.commonConnectionText() << QStringLiteral("Deposits: ") + session.depositConnectionText()
          << QStringLiteral("Accounting: ") + session.accountingDbName() + (session.AccountingDbOpen() ? QStringLiteral(" (open)") : QStringLiteral(" (not found)"));
    text->setPlainText(lines.join(QLatin1Char('\n')));
    layout->addWidget(text);
    resize(700, 300);
}

} // namespace orvak::ui::startup
