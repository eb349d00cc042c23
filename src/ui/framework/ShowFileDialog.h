#pragma once
#include <QDialog>

namespace orvak::ui::framework {

// "نمايش فايل": where the exported file went, with a button to open it.
class TfrmShowFile : public QDialog {
    Q_OBJECT
public:
    explicit TfrmShowFile(const QString& path, QWidget* parent = nullptr);
};

} // namespace orvak::ui::framework
