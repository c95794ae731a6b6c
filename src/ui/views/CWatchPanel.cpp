#include "views/CWatchPanel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "control/CVariableLookup.h"
#include "control/CVariables.h"
#include "persistence/CWatchNames.h"
#include "session/Session.h"
#include "views/CDebugTable.h"
#include "views/CVariablesModel.h"
#include "views/FrameSelection.h"

namespace tessaly::ui {

CWatchPanel::CWatchPanel(CDebugContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnlCWatch"));
    auto* title = new QLabel(QStringLiteral("C variables"), this);
    title->setContentsMargins(4, 2, 4, 2);
    model_ = new CVariablesModel(context_.session, context_.messages, this);
    table_ = CreateCDebugTable(this, "grdCWatch", QStringLiteral("C variables"), model_, true);
    table_->installEventFilter(this);

    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("edtCWatchName"));
    name_->setPlaceholderText(QStringLiteral("C variable name"));
    name_->setAccessibleName(QStringLiteral("C variable name"));
    connect(name_, &QLineEdit::returnPressed, this, &CWatchPanel::AddTyped);
    auto* add = new QPushButton(QStringLiteral("Add"), this);
    add->setObjectName(QStringLiteral("btnAddCWatch"));
    connect(add, &QPushButton::clicked, this, &CWatchPanel::AddTyped);
    auto* remove = new QPushButton(QStringLiteral("Delete"), this);
    remove->setObjectName(QStringLiteral("btnDeleteCWatch"));
    connect(remove, &QPushButton::clicked, this, &CWatchPanel::DeleteSelected);

    auto* entry = new QHBoxLayout;
    entry->setContentsMargins(2, 2, 2, 2);
    entry->addWidget(name_, 1);
    entry->addWidget(add);
    entry->addWidget(remove);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(title);
    layout->addWidget(table_, 1);
    layout->addLayout(entry);
    Refresh();
}

void CWatchPanel::Refresh() {
    const Session& session = context_.session;
    const DebugInfo* info = session.source().Info();
    if (isHidden() == (info != nullptr)) setVisible(info != nullptr);
    if (!info) return;
    const Processor& p = session.processor();
    const CStackFrame* frame = context_.frames.Selected();
    const std::uint16_t pc = frame ? frame->pc : p.usPC;
    const CFrame place = frame ? frame->frame : CFrame::Current(p);
    std::vector<CVariablesModel::Row> rows;
    for (const std::string& name : context_.watches.Names()) {
        const auto found = LookUpCVariable(*info, name, pc);
        if (const auto* why = std::get_if<std::string>(&found)) {
            rows.push_back({name, {}, *why, {}});
            continue;
        }
        CVariable variable = LocateVariable(p, *info, *std::get<const CSymbol*>(found), place);
        rows.push_back({name, std::move(variable.text.type), std::move(variable.text.value), std::move(variable.object)});
    }
    // One scope for all: a watched value is compared with the one shown
    // before whatever frame it is seen from.
    model_->Show(std::move(rows), "watch");
}

void CWatchPanel::AddTyped() {
    const std::string typed = name_->text().trimmed().toStdString();
    if (typed.empty()) return;
    if (!IsCName(typed)) {
        context_.messages.Tell(MessageKind::Plain, "'" + typed + "' is not a C name");
        return;
    }
    context_.watches.Add(typed);
    name_->clear();
    Refresh();
}

void CWatchPanel::DeleteSelected() {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) return;
    context_.watches.Remove(static_cast<std::size_t>(current.row()));
    Refresh();
}

bool CWatchPanel::eventFilter(QObject* watched, QEvent* event) {
    // While a value is typed the editor has the keys, not the table.
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        DeleteSelected();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tessaly::ui
