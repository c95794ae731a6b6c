#include "dialogs/AddWatchDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

#include "dialogs/GeneralDialog.h"
#include "session/Session.h"

namespace tessaly::ui {

namespace {

// Longest name or address the box takes.
constexpr int kNameLength = 4;

}  // namespace

AddWatchDialog::AddWatchDialog(Session& session, MessageHost& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      session_(session), messages_(messages) {
    setObjectName(QStringLiteral("TfrmAddActiveWatch"));
    setWindowTitle(QStringLiteral("Add to Active Watch"));

    cobType_ = NewLocationTypeBox(this);
    connect(cobType_, &QComboBox::currentIndexChanged, this, [this] { FillNames(); });

    cobName_ = new QComboBox(this);
    cobName_->setObjectName(QStringLiteral("cobName"));
    cobName_->setAccessibleName(QStringLiteral("Name/Address"));
    cobName_->setMinimumContentsLength(6);
    FilterAddressKeys(*cobName_);
    connect(cobName_, &QComboBox::currentIndexChanged, this, [this] { cobNameChange(); });
    connect(cobName_, &QComboBox::editTextChanged, this, [this] { cobNameChange(); });
    auto* nameLabel = new QLabel(QStringLiteral("Name/Address"), this);
    nameLabel->setBuddy(cobName_);

    auto* add = new QPushButton(QStringLiteral("Add"), this);
    add->setObjectName(QStringLiteral("btbAdd"));
    add->setAutoDefault(false);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btbOK"));
    ok->setDefault(true);
    connect(add, &QPushButton::clicked, this, &AddWatchDialog::btbAddClick);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("ssAddActiveWatch"));
    statusBar->setSizeGripEnabled(false);
    status_ = new QLabel(statusBar);
    statusBar->addWidget(status_, 1);

    auto* form = new QGridLayout;
    form->addWidget(cobType_, 0, 0, 1, 2);
    form->addWidget(nameLabel, 1, 0);
    form->addWidget(cobName_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(add);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(statusBar);
    // Every resize is refused; the window may still be moved.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FillNames();
}

LocationKind AddWatchDialog::Kind() const { return ChosenKind(*cobType_); }

void AddWatchDialog::FillNames() {
    ShowLocationNames(*cobName_, tessaly::FillNames(session_.processor(), Kind()), kNameLength);
    cobNameChange();
}

void AddWatchDialog::cobNameChange() {
    const LocationKind kind = Kind();
    QString text = QStringLiteral("Failure");
    if (kind != LocationKind::SfrRegister && kind != LocationKind::SfrBit) {
        text = QString::fromUtf8(LocationTypeText(kind).data());
    } else if (cobName_->currentIndex() >= 0) {
        const Location at{kind, static_cast<std::uint16_t>(cobName_->currentData().toInt())};
        text = QString::fromStdString(LocationDescription(session_.processor(), at));
    }
    status_->setText(text);
}

void AddWatchDialog::Run() {
    FillNames();
    exec();
}

void AddWatchDialog::btbAddClick() {
    if (AddChosenName(*cobName_, Kind(), session_.lstActiveWatch, messages_)) emit watchListChanged();
}

}  // namespace tessaly::ui
