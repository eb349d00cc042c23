#pragma once
// The base of every entry screen: insert and edit modes, "ذخيره و جديد(F9)",
// "ذخيره و خروج (F10)", "خروج بدون ذخيره" and Esc; dates are checked before the
// screen's own checks, and the calling list re-opens on the saved key. A screen that
// keeps a single record (settings) leaves "ذخيره و جديد(F9)" out.
#include <QDialog>
#include <QVariant>
#include <optional>

class QFormLayout;
class QHBoxLayout;
class QPushButton;

namespace orvak::ui::framework {

class EntryForm : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Insert, Edit };

    enum class Buttons { SaveAndNew, SaveOnly };

    explicit EntryForm(const QString& title, QWidget* parent = nullptr, Buttons buttons = Buttons::SaveAndNew);

    void startInsert();
    bool startEdit(const QVariant& key);
    Mode mode() const { return mode_; }
    QVariant key() const { return key_; }
    QFormLayout* form() const { return form_; }

    // The buttons' work, callable directly.
    bool saveAndNew();
    bool saveAndClose();

    // A screen's own command, in the row after the standard buttons.
    QPushButton* addButton(const QString& caption);
    QPushButton* saveAndNewButton() const { return saveNew_; }
    QPushButton* saveAndCloseButton() const { return saveClose_; }
    bool isReadOnly() const { return readOnly_; }

public slots:
    // Read-only: the record is shown, saving is not offered (F9 and F10 too).
    void setReadOnly(bool readOnly);

signals:
    void saved(const QVariant& key);

protected:
    virtual void clearFields() = 0;
    virtual bool loadRecord(const QVariant& key) = 0;
    // The screen's checks ("اطلاعات کامل نيست" when required data is missing).
    virtual bool validate(QString* message) = 0;
    // Writes the record (one transaction); the key of the saved row, or nullopt.
    virtual std::optional<QVariant> saveRecord(QString* error) = 0;

    void keyPressEvent(QKeyEvent* event) override;

private:
    bool save();

    QFormLayout* form_ = nullptr;
    QHBoxLayout* buttons_ = nullptr;
    QPushButton* saveNew_ = nullptr;
    QPushButton* saveClose_ = nullptr;
    bool readOnly_ = false;
    Mode mode_ = Mode::Insert;
    QVariant key_;
};

} // namespace orvak::ui::framework
