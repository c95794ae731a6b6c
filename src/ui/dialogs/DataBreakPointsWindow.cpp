#include "dialogs/DataBreakPointsWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <algorithm>

#include "dialogs/DataBreakPointsModel.h"
#include "dialogs/NamedButton.h"
#include "session/Session.h"

namespace tessaly::ui {

namespace {

constexpr DataAccess kAccesses[] = {DataAccess::Write, DataAccess::Read, DataAccess::Change};

}  // namespace

DataBreakPointsWindow::DataBreakPointsWindow(Session& session, MessageHost& messages, QWidget* parent)
    : QDialog(parent, Qt::Tool), session_(session), messages_(messages) {
    setObjectName(QStringLiteral("TfrmDataBreakPoints"));
    setWindowTitle(QStringLiteral("Data Break Points"));

    model_ = new DataBreakPointsModel(session_.DataBreaks(), this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblDataBreakPoints"));
    table_->setModel(model_);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setColumnWidth(0, 200);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);

    location_ = new QLineEdit(this);
    location_->setObjectName(QStringLiteral("edtDataLocation"));
    location_->setPlaceholderText(QStringLiteral("30H, PSW.1, X:1000H-10FFH, a C variable"));
    auto* locationLabel = new QLabel(QStringLiteral("&Location"), this);
    locationLabel->setBuddy(location_);
    access_ = new QComboBox(this);
    access_->setObjectName(QStringLiteral("cmbDataAccess"));
    for (DataAccess access : kAccesses) {
        const std::string_view text = DataAccessText(access);
        access_->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    auto* accessLabel = new QLabel(QStringLiteral("A&ccess"), this);
    accessLabel->setBuddy(access_);

    auto* add = NamedButton(QStringLiteral("Add"), "btnDataAdd", this);
    auto* remove = NamedButton(QStringLiteral("Remove"), "btnDataRemove", this);
    auto* close = NamedButton(QStringLiteral("Close"), "btnDataClose", this);
    connect(add, &QPushButton::clicked, this, &DataBreakPointsWindow::AddTyped);
    connect(location_, &QLineEdit::returnPressed, this, &DataBreakPointsWindow::AddTyped);
    connect(remove, &QPushButton::clicked, this, &DataBreakPointsWindow::RemoveSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QGridLayout(this);
    layout->addWidget(locationLabel, 0, 0);
    layout->addWidget(location_, 0, 1);
    layout->addWidget(add, 0, 2);
    layout->addWidget(accessLabel, 1, 0);
    layout->addWidget(access_, 1, 1);
    layout->addWidget(remove, 1, 2);
    layout->addWidget(table_, 2, 0, 1, 3);
    layout->addWidget(close, 3, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    resize(380, 300);
}

void DataBreakPointsWindow::Open() {
    model_->Refresh();
    show();
    raise();
    activateWindow();
    location_->setFocus();
}

void DataBreakPointsWindow::AddTyped() {
    const std::string text = location_->text().trimmed().toStdString();
    const DataAccess access = kAccesses[std::max(access_->currentIndex(), 0)];
    const std::string why = session_.AddDataBreakPoint(text, access);
    if (!why.empty()) {
        messages_.Tell(MessageKind::Error, why);
        return;
    }
    model_->Refresh();
    location_->clear();
}

bool DataBreakPointsWindow::Add(const std::string& text, DataAccess access) {
    const std::string why = session_.AddDataBreakPoint(text, access);
    if (!why.empty()) {
        messages_.Tell(MessageKind::Error, why);
        return false;
    }
    Open();
    return true;
}

void DataBreakPointsWindow::RemoveSelected() {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid() || !session_.RemoveDataBreakPoint(static_cast<std::size_t>(current.row()))) return;
    model_->Refresh();
}

}  // namespace tessaly::ui
