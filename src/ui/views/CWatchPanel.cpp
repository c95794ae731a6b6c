#include "views/CWatchPanel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "control/CExpression.h"
#include "control/CValueText.h"
#include "control/CVariableLookup.h"
#include "control/CVariables.h"
#include "persistence/CWatchNames.h"
#include "session/Session.h"
#include "views/CVariablesModel.h"
#include "views/CVariablesTree.h"
#include "views/FrameSelection.h"

namespace tessaly::ui {

CWatchPanel::CWatchPanel(CDebugContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnlCWatch"));
    auto* title = new QLabel(QStringLiteral("C variables"), this);
    title->setContentsMargins(4, 2, 4, 2);
    model_ = new CVariablesModel(context_.session, context_.messages, this);
    tree_ = new CVariablesTree(model_, "grdCWatch", QStringLiteral("C variables"), context_, this);
    tree_->installEventFilter(this);

    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("edtCWatchName"));
    name_->setPlaceholderText(QStringLiteral("C variable or expression"));
    name_->setAccessibleName(QStringLiteral("C variable or expression"));
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
    layout->addWidget(tree_, 1);
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
    for (const std::string& text : context_.watches.Names()) {
        if (IsCName(text)) {
            const auto found = LookUpCVariable(*info, text, pc);
            if (const auto* why = std::get_if<std::string>(&found)) {
                rows.push_back({text, {}, *why, {}});
                continue;
            }
            CVariable variable = LocateVariable(p, *info, *std::get<const CSymbol*>(found), place);
            rows.push_back(
                {text, std::move(variable.text.type), std::move(variable.text.value), std::move(variable.object)});
            continue;
        }
        auto evaluated = EvaluateCExpression(p, CScope{info, pc, place}, text);
        if (const auto* why = std::get_if<std::string>(&evaluated)) {
            rows.push_back({text, {}, *why, {}});
            continue;
        }
        CObject& object = std::get<CObject>(evaluated);
        rows.push_back({text, object.type.Spelling(), FormatCValue(p, *info, object), std::move(object)});
    }
    // One scope for all: a watched value is compared with the one shown
    // before whatever frame it is seen from.
    model_->Show(std::move(rows), "watch");
}

void CWatchPanel::AddTyped() {
    const std::string typed = name_->text().trimmed().toStdString();
    if (typed.empty()) return;
    // Text that is no expression at all is refused; one whose variables are
    // not in scope here is kept, and shows why until they are.
    if (const std::string why = CExpressionFormError(typed); !why.empty()) {
        context_.messages.Tell(MessageKind::Plain, why);
        return;
    }
    context_.watches.Add(typed);
    name_->clear();
    Refresh();
}

void CWatchPanel::DeleteSelected() {
    // The watches are the top rows; the elements and members under them go
    // with them.
    const QModelIndex current = tree_->currentIndex();
    if (!current.isValid() || current.parent().isValid()) return;
    context_.watches.Remove(static_cast<std::size_t>(current.row()));
    Refresh();
}

bool CWatchPanel::eventFilter(QObject* watched, QEvent* event) {
    // While a value is typed the editor has the keys, not the table.
    if (watched == tree_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        DeleteSelected();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tessaly::ui
