#include "ui/startup/TFHoshdarBkUp.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::startup {

TFHoshdarBkUp::TFHoshdarBkUp(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FHoshdarBkUp"));
    setWindowTitle(QStringLiteral("تهيه پشتيبان از اطلاعات"));
    auto* layout = new QVBoxLayout(this);
    auto* advice = new QLabel(QStringLiteral(
                                  "• پس از هر تغيير مهم در اطلاعات، از بانک هاي اطلاعاتي نسخه پشتيبان تهيه کنيد.\n"
                                  "• نسخه هاي پشتيبان قبلي را پاک نکنيد و چند نسخه از روزهاي مختلف نگه داريد.\n"
                                  "• نسخه هاي پشتيبان را در محلي امن و جدا از رايانه سرور نگهداري کنيد.\n"
                                  "• هر هفته يک نسخه پشتيبان را به مسئول مربوط تحويل دهيد."),
                              this);
    advice->setWordWrap(true);
    layout->addWidget(advice);
    auto* confirm = new QPushButton(QStringLiteral("موارد فوق را تائيد ميكنم  (F10)"), this);
    auto* back = new QPushButton(QStringLiteral("بازگشت"), this);
    layout->addWidget(confirm);
    layout->addWidget(back);
    connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    resize(460, 240);
}

void TFHoshdarBkUp::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F10) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orvak::ui::startup
