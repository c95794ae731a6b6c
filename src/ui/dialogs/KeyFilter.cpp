#include "dialogs/KeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace tessaly::ui {

namespace {

constexpr char16_t kBackspace = u'\b';

}  // namespace

KeyFilter::KeyFilter(QWidget* watched, QLineEdit* edit, Filter filter)
    : QObject(watched), edit_(edit), filter_(std::move(filter)) {
    watched->installEventFilter(this);
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (beforeKey_) beforeKey_();

    const QString text = key->text();
    if (text.size() != 1) return false;
    const char16_t typed = text.front().unicode();
    const bool control = typed < u' ' || typed == u'\x7f';
    if (control && typed != kBackspace) return false;
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
    // Nothing beyond ASCII is ever accepted.
    if (typed > u'\x7e' && typed != kBackspace) return true;

    const char accepted = filter_(static_cast<char>(typed));
    if (accepted == '\0') return true;
    if (static_cast<char16_t>(accepted) == typed) return false;
    // The filter changed the key (a lower-case hex digit turned upper case):
    // insert what it made of it, within the edit's length limit.
    edit_->insert(QString(QChar(accepted)));
    return true;
}

}  // namespace tessaly::ui
