#pragma once

#include <QObject>

#include <functional>

class QLineEdit;

namespace tessaly::ui {

// Filters the characters typed into a line edit, as the library's key
// filters decide: each printable key goes through `filter`, which returns the
// character to insert or '\0' to drop the key. Control keys (backspace aside,
// which goes through the filter too), navigation and shortcuts pass untouched,
// so pasting still works; the checks behind OK catch what a paste brings in.
//
// The filter is installed on `watched`, the widget that receives the keys: the
// edit itself, or an editable combo box, which hands keys to its edit without
// passing them through event filters.
class KeyFilter : public QObject {
    Q_OBJECT
public:
    using Filter = std::function<char(char)>;

    KeyFilter(QWidget* watched, QLineEdit* edit, Filter filter);

    // Runs before every key is filtered, whatever the key.
    void SetBeforeKey(std::function<void()> beforeKey) { beforeKey_ = std::move(beforeKey); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_;
    Filter filter_;
    std::function<void()> beforeKey_;
};

}  // namespace tessaly::ui
