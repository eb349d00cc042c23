#include "ui/framework/FilterDialog.h"

#include "ui/framework/ListModel.h"
#include "ui/framework/MessageBoxes.h"
#include "core/util/Numbers.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvak::ui::framework {

TfrmFilter::TfrmFilter(const ListModel& model, const QString& current, QWidget* parent)
    : QDialog(parent)
    , model_(model)
{
    setObjectName(QStringLiteral("frmFilter"));
    setWindowTitle(QStringLiteral("محدود سازي و فيلتر نمودن پيشرفته اطلاعات"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    field_ = new QComboBox(this);
    for (const io::ListColumn& c : model.columns()) {
        if (!c.isComputed())
            field_->addItem(c.title, c.field);
    }
    op_ = new QComboBox(this);
    op_->addItems({QStringLiteral("="), QStringLiteral("<"), QStringLiteral(">"), QStringLiteral("<>"), QStringLiteral("<="),
                   QStringLiteral(">="), QStringLiteral("LIKE"), QStringLiteral("بين")});
    value_ = new QComboBox(this);
    value_->setEditable(true);
    upper_ = new QLineEdit(this);
    upper_->setPlaceholderText(QStringLiteral("تا (براي بازه)"));
    form->addRow(QStringLiteral("قلم"), field_);
    form->addRow(QStringLiteral("عملگر"), op_);
    form->addRow(QStringLiteral("مقدار"), value_);
    form->addRow(QString(), upper_);
    layout->addLayout(form);
    auto* joinRow = new QHBoxLayout;
    and_ = new QRadioButton(QStringLiteral("و"), this);
    auto* orButton = new QRadioButton(QStringLiteral("يا"), this);
    and_->setChecked(true);
    auto* add = new QPushButton(QStringLiteral("+"), this);
    joinRow->addWidget(and_);
    joinRow->addWidget(orButton);
    joinRow->addStretch();
    joinRow->addWidget(add);
    layout->addLayout(joinRow);
    expression_ = new QPlainTextEdit(current, this);
    expression_->setLayoutDirection(Qt::LeftToRight);
    layout->addWidget(expression_);
    auto* checkButton = new QPushButton(QStringLiteral("بررسي اعتبار پرس  جو"), this);
    layout->addWidget(checkButton);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("ادامه"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("انصراف"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    connect(field_, &QComboBox::currentIndexChanged, this, &TfrmFilter::refreshValues);
    connect(value_, &QComboBox::editTextChanged, this, [this](const QString& typed) {
        // The value list narrows to the distinct values holding the typed text.
        if (value_->findText(typed) >= 0)
            return;
        const int column = model_.rows().fieldIndex(field_->currentData().toString());
        const QStringList values = io::distinctValues(model_.rows(), column, typed, 200);
        const QSignalBlocker block(value_);
        value_->clear();
        value_->addItems(values);
        value_->setEditText(typed);
    });
    connect(add, &QPushButton::clicked, this, [this] {
        int column = -1;
        for (int i = 0; i < model_.columns().size(); ++i) {
            if (model_.columns()[i].field == field_->currentData().toString())
                column = i;
        }
        addTerm(column, op_->currentText(), value_->currentText(), upper_->text());
    });
    connect(checkButton, &QPushButton::clicked, this, [this] {
        QString message;
        check(&message);
        ShowInfo(message, this);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmFilter::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    refreshValues();
    resize(520, 420);
}

QStringList TfrmFilter::fieldNames() const { return model_.rows().fieldNames(); }

void TfrmFilter::refreshValues()
{
    const int column = model_.rows().fieldIndex(field_->currentData().toString());
    const QSignalBlocker block(value_);
    value_->clear();
    value_->addItems(io::distinctValues(model_.rows(), column, QString(), 200));
    value_->setEditText(QString());
}

void TfrmFilter::addTerm(int column, const QString& op, const QString& value, const QString& upper)
{
    if (column < 0 || column >= model_.columns().size())
        return;
    const io::ListColumn& c = model_.columns()[column];
    const bool isText = c.format == io::CellFormat::Text || c.format == io::CellFormat::JalaliDate
        || !model_.rows().isNumeric(model_.rows().fieldIndex(c.field));
    // Numbers are written plainly (separators and Persian digits read away).
    auto plain = [isText](const QString& v) {
        if (isText)
            return v;
        const std::optional<qint64> n = util::parseAmount(v);
        return n ? QString::number(*n) : v;
    };
    const QString term = op == QStringLiteral("بين") ? io::filterRange(c.field, plain(value), plain(upper), isText)
                                                     : io::filterTerm(c.field, op, plain(value), isText);
    setText(io::filterJoin(text(), term, and_->isChecked()));
}

QString TfrmFilter::text() const { return expression_->toPlainText(); }
void TfrmFilter::setText(const QString& t) { expression_->setPlainText(t); }

bool TfrmFilter::check(QString* message) const
{
    QString why;
    const bool ok = io::FilterExpression::parse(text(), fieldNames(), &why).has_value();
    if (message)
        *message = ok ? QStringLiteral("صحيح است") : why;
    return ok;
}

void TfrmFilter::accept()
{
    QString why;
    result_ = io::FilterExpression::parse(text(), fieldNames(), &why);
    if (!result_) {
        ShowError(why, this);
        return;
    }
    QDialog::accept();
}

} // namespace orvak::ui::framework
