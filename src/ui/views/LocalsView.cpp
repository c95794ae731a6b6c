#include "views/LocalsView.h"

#include <QLabel>
#include <QVBoxLayout>

#include "control/CVariables.h"
#include "persistence/SourceWindowsLayout.h"
#include "session/Session.h"
#include "views/CVariablesModel.h"
#include "views/CVariablesTree.h"
#include "views/FrameSelection.h"

namespace tessaly::ui {

namespace {

// Which activation the rows belong to: values are compared from one refresh
// to the next only within one. Activations are told apart by function and
// depth from the outermost frame.
std::string ScopeOf(const FrameSelection& frames) {
    const CStackFrame* frame = frames.Selected();
    if (!frame || !frame->position.function) return {};
    return frame->position.function->module + "." + frame->position.function->name + "@" +
           std::to_string(frames.Frames().size() - frames.Index());
}

}  // namespace

LocalsView::LocalsView(CDebugContext& context, QWidget* parent)
    : CDebugView(source_window::kLocals, kCDebugViewCaptions[source_window::kLocals], parent), context_(context) {
    setObjectName(QStringLiteral("TfrmLocals"));
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("lblFunction"));
    heading_->setContentsMargins(4, 2, 4, 2);
    model_ = new CVariablesModel(context_.session, context_.messages, this);
    tree_ = new CVariablesTree(model_, "grdLocals", QStringLiteral("Locals"), context_, this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(heading_);
    layout->addWidget(tree_, 1);
    Refresh();
}

QSize LocalsView::sizeHint() const { return {260, 160}; }

QString LocalsView::Heading() const { return heading_->text(); }

void LocalsView::Refresh() {
    const Session& session = context_.session;
    const DebugInfo* info = session.source().Info();
    const CStackFrame* frame = context_.frames.Selected();
    std::vector<CVariablesModel::Row> rows;
    QString heading;
    if (!info) {
        heading = QStringLiteral("No C debug information");
    } else if (!frame || !frame->position.function) {
        heading = QStringLiteral("No C function here");
    } else {
        heading = QString::fromStdString(frame->position.function->name);
        for (CVariable& variable : LocateLocals(session.processor(), *info, frame->pc, frame->frame)) {
            rows.push_back({std::move(variable.text.name), std::move(variable.text.type),
                            std::move(variable.text.value), std::move(variable.object)});
        }
        // SDCC records no symbol for a parameter it keeps in registers only.
        if (rows.empty()) heading += QStringLiteral(": no parameters or locals recorded");
    }
    if (heading_->text() != heading) heading_->setText(heading);
    model_->Show(std::move(rows), ScopeOf(context_.frames));
}

}  // namespace tessaly::ui
