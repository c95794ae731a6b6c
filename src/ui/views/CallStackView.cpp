#include "views/CallStackView.h"

#include <QTableView>
#include <QVBoxLayout>

#include "analysis/NearestCodeLabel.h"
#include "control/BreakPoints.h"
#include "persistence/SourceWindowsLayout.h"
#include "session/Session.h"
#include "util/HexText.h"
#include "views/CDebugTable.h"
#include "views/CallStackModel.h"
#include "views/FrameSelection.h"

namespace tessaly::ui {

namespace {

// Code without C source (printf's formatter, the start-up code) goes by the
// label it is in, as the disassembly names it: "_printf+0x0032".
QString PlaceWithoutSource(const Workspace& w, std::uint16_t pc) {
    const auto near = NearestCodeLabel(w, pc);
    if (!near) return QStringLiteral("(no C source)");
    QString place = QString::fromStdString(near->label);
    if (near->distance != 0) place += QStringLiteral("+0x") + QString::fromStdString(HexText(near->distance, 4));
    return place;
}

CallStackModel::Row RowOf(const Session& session, const CStackFrame& frame) {
    const SourceDebugger& source = session.source();
    const CSourcePosition& at = frame.position;
    QString function = at.function ? QString::fromStdString(at.function->name)
                                   : PlaceWithoutSource(session.workspace, frame.pc);
    // The activation an interrupt routine above it broke into.
    if (frame.interruptedBy >= 0) function += QStringLiteral(" [interrupted]");
    const QString place = at.line ? QString::fromStdString(source.SourcePath(at.line->file).filename().string()) + ":" +
                                        QString::number(at.line->line)
                                  : QString();
    return {function, place, QString::fromStdString(BreakPoints::DisplayText(frame.pc))};
}

}  // namespace

CallStackView::CallStackView(CDebugContext& context, QWidget* parent)
    : CDebugView(source_window::kCallStack, kCDebugViewCaptions[source_window::kCallStack], parent),
      context_(context) {
    setObjectName(QStringLiteral("TfrmCallStack"));
    model_ = new CallStackModel(this);
    table_ = CreateCDebugTable(this, "grdCallStack", QStringLiteral("Call Stack"), model_, false);
    connect(table_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { context_.frames.Select(static_cast<std::size_t>(index.row())); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_);
    Refresh();
}

QSize CallStackView::sizeHint() const { return {260, 120}; }

void CallStackView::Refresh() {
    std::vector<CallStackModel::Row> rows;
    for (const CStackFrame& frame : context_.frames.Frames()) rows.push_back(RowOf(context_.session, frame));
    const int selected = rows.empty() ? -1 : static_cast<int>(context_.frames.Index());
    model_->Show(std::move(rows), selected);
    // The row the table has selected is the frame shown.
    if (selected >= 0 && table_->currentIndex().row() != selected) table_->selectRow(selected);
}

}  // namespace tessaly::ui
