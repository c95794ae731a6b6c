#include "views/ViewFactory.h"

#include <QLabel>
#include <QVBoxLayout>

#include "session/Session.h"

namespace tessaly::ui {

namespace {

// A view whose window has its place, caption and menu item but whose
// contents are still to come: it says so rather than show nothing.
class PendingView : public ChildView {
public:
    PendingView(int index, QWidget* parent) : ChildView(index, kChildViewCaptions[index], parent) {
        auto* layout = new QVBoxLayout(this);
        auto* label = new QLabel(QString("%1: not available in this version").arg(kChildViewCaptions[index]), this);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    void Refresh() override {}
};

}  // namespace

ChildView* CreateChildView(int index, Session&, QWidget&) { return new PendingView(index, nullptr); }

}  // namespace tessaly::ui
