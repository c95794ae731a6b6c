#include "views/ToolButtons.h"
#include "dialogs/GeneralDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "dialogs/KeyFilter.h"
#include "session/Session.h"
#include "util/HexText.h"
#include "util/IntegerText.h"

namespace tessaly::ui {

namespace {

char UpperCase(char key) { return (key >= 'a' && key <= 'z') ? static_cast<char>(key - 'a' + 'A') : key; }
bool IsHexDigit(char key) { return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'F'); }

// Hexadecimal value keys arrive upper case; anything but a hex digit or
// backspace is refused with a beep.
char HexValueKey(char key) {
    key = UpperCase(key);
    if (IsHexDigit(key) || key == '\b') return key;
    QApplication::beep();
    return '\0';
}

char DecimalValueKey(char key) {
    if ((key >= '0' && key <= '9') || key == '\b') return key;
    QApplication::beep();
    return '\0';
}

// The keys of an editable name box. The box hands keys to its edit without
// passing them through the edit's filters, and turning it editable makes a
// new edit, so the filter watches the box and looks up its edit per key.
class AddressKeys : public QObject {
public:
    explicit AddressKeys(QComboBox& box) : QObject(&box), box_(box) { box.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !box_.isEditable()) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() != 1 || (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) return false;
        const char16_t typed = text.front().unicode();
        if (typed < u' ' || typed == u'\x7f') return false;  // backspace and the other control keys
        const char upper = typed < 0x80 ? UpperCase(static_cast<char>(typed)) : '\0';
        if (!IsHexDigit(upper)) return true;
        if (upper == typed) return false;
        box_.lineEdit()->insert(QString(QChar(upper)));
        return true;
    }

private:
    QComboBox& box_;
};

int HexDigits(int width) { return width == 1 ? 1 : width == 8 ? 2 : 4; }
int DecimalDigits(int width) { return width == 1 ? 1 : width == 8 ? 3 : 5; }

QString ConversionMessage(const QString& text) { return "'0x" + text + "' is not a valid integer value"; }


QLabel* BuddyLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(caption);
    return label;
}

}  // namespace

QComboBox* NewLocationTypeBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("cobType"));
    box->setAccessibleName(QStringLiteral("Type"));
    for (LocationKind kind : kLocationKinds) box->addItem(QString::fromUtf8(LocationTypeText(kind).data()));
    return box;
}

LocationKind ChosenKind(const QComboBox& typeBox) {
    const int last = static_cast<int>(std::size(kLocationKinds)) - 1;
    return kLocationKinds[static_cast<std::size_t>(std::clamp(typeBox.currentIndex(), 0, last))];
}

void FilterAddressKeys(QComboBox& box) { new AddressKeys(box); }

void ShowLocationNames(QComboBox& box, const LocationNames& names, int maxLength) {
    const QSignalBlocker blocker(box);
    box.clear();
    box.setEditable(names.editable);
    if (names.editable) {
        box.setInsertPolicy(QComboBox::NoInsert);
        // Typing "1" must not complete to "10".
        box.setCompleter(nullptr);
        box.lineEdit()->setMaxLength(maxLength);
    }
    for (const auto& item : names.items) box.addItem(QString::fromStdString(item.text), int{item.key});
    if (!names.items.empty()) box.setCurrentIndex(0);
    if (names.editable) box.setEditText(QString::fromStdString(names.initialText));
}

bool AddChosenName(QComboBox& box, LocationKind kind, WatchList& watch, MessageHost& messages) {
    if (kind == LocationKind::SfrRegister || kind == LocationKind::SfrBit) {
        if (box.currentIndex() < 0) return false;
        watch.Add(Location{kind, static_cast<std::uint16_t>(box.currentData().toInt())});
        return true;
    }
    // The address is shown as it is stored before its range is checked.
    const QString padded = box.currentText().toUpper().rightJustified(LocationKeyDigits(kind), u'0');
    box.setEditText(padded);
    box.lineEdit()->selectAll();
    box.setFocus();
    std::string name = padded.toStdString();
    const WatchAdd result = watch.AddName(kind, name, messages);
    return result == WatchAdd::Added || result == WatchAdd::AlreadyListed;
}

GeneralDialog::GeneralDialog(Mode mode, Session& session, MessageHost& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), mode_(mode), session_(session), messages_(messages) {
    const bool write = mode_ == Mode::Write;
    setObjectName(write ? QStringLiteral("TfrmGeneralWrite") : QStringLiteral("TfrmGeneralRead"));
    setWindowTitle(write ? QStringLiteral("General Write") : QStringLiteral("General Read"));
    BuildControls();
    FillNames();
}

void GeneralDialog::BuildControls() {
    const bool write = mode_ == Mode::Write;

    auto* bar = new QToolBar(this);
    auto* add = AddToolButton(bar, "tlbAdd", QStringLiteral("Add"), QStringLiteral("Add to Active Watch"));
    add->setIcon(QIcon(QStringLiteral(":/icons/view-watch.svg")));
    auto* read = AddToolButton(bar, "tlbRead", write ? QStringLiteral("Read") : QStringLiteral("Refresh"),
                               write ? QStringLiteral("Read") : QStringLiteral("Refresh"));
    read->setIcon(QIcon(QStringLiteral(":/icons/refresh.svg")));
    connect(add, &QToolButton::clicked, this, &GeneralDialog::tlbAddClick);
    connect(read, &QToolButton::clicked, this, &GeneralDialog::tlbReadClick);
    if (write) {
        auto* store = AddToolButton(bar, "tlbWrite", QStringLiteral("Write"), QStringLiteral("Write"));
        connect(store, &QToolButton::clicked, this, &GeneralDialog::tlbWriteClick);
    }
    auto* ok = AddToolButton(bar, "tlbOK", QStringLiteral("OK"), QStringLiteral("OK"));
    connect(ok, &QToolButton::clicked, this, &QDialog::accept);

    cobType_ = NewLocationTypeBox(this);
    connect(cobType_, &QComboBox::currentIndexChanged, this, [this] { FillNames(); });

    cobName_ = new QComboBox(this);
    cobName_->setObjectName(QStringLiteral("cobName"));
    cobName_->setMinimumContentsLength(6);
    FilterAddressKeys(*cobName_);
    // A fixed list reports a choice by index, a typed address by its text.
    connect(cobName_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_ && !cobName_->isEditable()) cobNameChange();
    });
    connect(cobName_, &QComboBox::editTextChanged, this, [this] {
        if (!filling_ && cobName_->isEditable()) cobNameChange();
    });

    edtHex_ = new QLineEdit(this);
    edtHex_->setObjectName(QStringLiteral("edtHex"));
    edtDecimal_ = new QLineEdit(this);
    edtDecimal_->setObjectName(QStringLiteral("edtDecimal"));
    edtHex_->setReadOnly(!write);
    edtDecimal_->setReadOnly(!write);
    if (write) {
        new KeyFilter(edtHex_, edtHex_, HexValueKey);
        new KeyFilter(edtDecimal_, edtDecimal_, DecimalValueKey);
        connect(edtHex_, &QLineEdit::textChanged, this, [this] { ValueBoxChange(*edtHex_, 16); });
        connect(edtDecimal_, &QLineEdit::textChanged, this, [this] { ValueBoxChange(*edtDecimal_, 10); });
    }

    auto* form = new QGridLayout;
    form->addWidget(cobType_, 0, 0, 1, 2);
    form->addWidget(BuddyLabel(QStringLiteral("Name/Address"), cobName_, this), 1, 0);
    form->addWidget(cobName_, 1, 1);
    form->addWidget(BuddyLabel(QStringLiteral("Hex"), edtHex_, this), 2, 0);
    form->addWidget(edtHex_, 2, 1);
    form->addWidget(BuddyLabel(QStringLiteral("Decimal"), edtDecimal_, this), 3, 0);
    form->addWidget(edtDecimal_, 3, 1);

    lblHighByte_ = new QLabel(QStringLiteral("Higher Bits"), this);
    lblHighByte_->setObjectName(QStringLiteral("lblHighByte"));
    lblLowByte_ = new QLabel(QStringLiteral("Bits"), this);
    lblLowByte_->setObjectName(QStringLiteral("lblLowByte"));
    auto* high = new QVBoxLayout;
    auto* low = new QVBoxLayout;
    high->addWidget(lblHighByte_);
    low->addWidget(lblLowByte_);
    for (int i = 15; i >= 0; --i) {
        auto* bit = new QCheckBox(QStringLiteral("Bit%1").arg(i), this);
        bit->setObjectName(QStringLiteral("ckbBit%1").arg(i));
        bit->setEnabled(write);
        connect(bit, &QCheckBox::clicked, this, &GeneralDialog::BitClick);
        ckbBit_[static_cast<std::size_t>(i)] = bit;
        (i >= 8 ? high : low)->addWidget(bit);
    }
    high->addStretch(1);
    low->addStretch(1);
    if (write) {
        // A click on either caption takes the value from the check boxes.
        lblHighByte_->installEventFilter(this);
        lblLowByte_->installEventFilter(this);
    }
    ckbBin_ = new QCheckBox(QStringLiteral("Bin"), this);
    ckbBin_->setObjectName(QStringLiteral("ckbBin"));
    ckbBin_->setEnabled(write);
    connect(ckbBin_, &QCheckBox::clicked, this, &GeneralDialog::ckbBinClick);
    auto* bits = new QHBoxLayout;
    bits->addLayout(high);
    bits->addLayout(low);
    bits->addWidget(ckbBin_, 0, Qt::AlignTop);

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(write ? QStringLiteral("ssbGeneralWrite") : QStringLiteral("ssbGeneralRead"));
    statusBar->setSizeGripEnabled(false);
    // No accessible name of its own: it is read as the description it shows.
    status_ = new QLabel(statusBar);
    statusBar->addWidget(status_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->addWidget(bar);
    layout->addLayout(form);
    layout->addLayout(bits);
    layout->addStretch(1);
    layout->addWidget(statusBar);
}

LocationKind GeneralDialog::Kind() const { return ChosenKind(*cobType_); }

void GeneralDialog::SelectKind(LocationKind kind) {
    const QSignalBlocker blocker(cobType_);
    cobType_->setCurrentIndex(static_cast<int>(kind));
}

void GeneralDialog::FillNames() {
    const LocationNames names = tessaly::FillNames(session_.processor(), Kind());
    ShowLocationNames(*cobName_, names, names.maxLength);
    tlbReadClick();
    if (isVisible()) cobName_->setFocus();
}

void GeneralDialog::cobNameChange() { tlbReadClick(); }

std::optional<Location> GeneralDialog::ChosenLocation() {
    const LocationKind kind = Kind();
    if (kind == LocationKind::SfrRegister || kind == LocationKind::SfrBit) {
        if (cobName_->currentIndex() < 0) return std::nullopt;
        return Location{kind, static_cast<std::uint16_t>(cobName_->currentData().toInt())};
    }
    const QString text = cobName_->currentText();
    const auto address = ParseUnsigned<std::uint16_t>(text.toStdString(), 16);
    if (!address) {
        messages_.Tell(MessageKind::Error, ConversionMessage(text).toStdString());
        return std::nullopt;
    }
    return Location{kind, *address};
}

void GeneralDialog::ShowWidth(int width) {
    width_ = width;
    edtHex_->setMaxLength(HexDigits(width));
    edtDecimal_->setMaxLength(DecimalDigits(width));
    for (int i = 0; i < 16; ++i) ckbBit_[static_cast<std::size_t>(i)]->setVisible(width > 1 && i < width);
    ckbBin_->setVisible(width == 1);
    lblLowByte_->setVisible(width > 1);
    lblLowByte_->setText(width == 16 ? QStringLiteral("Lower Bits") : QStringLiteral("Bits"));
    lblHighByte_->setVisible(width == 16);
}

void GeneralDialog::ShowBits(std::uint32_t value) {
    for (std::size_t i = 0; i < ckbBit_.size(); ++i) ckbBit_[i]->setChecked(((value >> i) & 1) != 0);
    ckbBin_->setChecked(value != 0);
}

void GeneralDialog::tlbReadClick() {
    const auto at = ChosenLocation();
    if (!at) return;
    const Processor& p = session_.processor();
    const int width = LocationWidth(p, *at);
    if (width == 0) return;

    ShowWidth(width);
    const std::vector<std::string> captions = BitCaptions(p, *at);
    for (std::size_t i = 0; i < captions.size() && i < ckbBit_.size(); ++i) {
        ckbBit_[i]->setText(QString::fromStdString(captions[i]));
    }
    status_->setText(QString::fromStdString(LocationDescription(p, *at)));

    const std::uint16_t value = ReadLocation(p, *at);
    guard_ = true;
    edtHex_->setText(QString::fromStdString(HexText(value, HexDigits(width))));
    edtDecimal_->setText(QString::number(value));
    ShowBits(value);
    guard_ = false;
    // A full box is selected, so the next key typed replaces it.
    if (edtHex_->text().size() == edtHex_->maxLength()) edtHex_->selectAll();
}

void GeneralDialog::tlbWriteClick() {
    const auto at = ChosenLocation();
    if (!at) return;
    const QString text = edtHex_->text();
    const auto value = ParseUnsigned<std::uint32_t>(text.toStdString(), 16);
    if (!value) {
        messages_.Tell(MessageKind::Error, ConversionMessage(text).toStdString());
        return;
    }
    session_.WriteValue(*at, static_cast<std::uint16_t>(*value));
}

void GeneralDialog::tlbAddClick() {
    if (AddChosenName(*cobName_, Kind(), session_.lstActiveWatch, messages_)) emit watchListChanged();
}

void GeneralDialog::ValueBoxChange(QLineEdit& box, int base) {
    if (guard_) return;
    guard_ = true;
    const QString text = box.text();
    const auto value = text.isEmpty() ? std::optional<std::uint32_t>(0)
                                      : ParseUnsigned<std::uint32_t>(text.toStdString(), base);
    if (value && *value < (1u << width_)) {
        if (base == 16) edtDecimal_->setText(QString::number(*value));
        else edtHex_->setText(QString::fromStdString(HexText(*value, edtHex_->maxLength())));
        ShowBits(*value);
    } else {
        box.setText(text.left(std::max(box.maxLength() - 1, 0)));
        box.selectAll();
        QApplication::beep();
    }
    if (box.text().size() == box.maxLength()) box.selectAll();
    guard_ = false;
}

void GeneralDialog::BitClick() {
    std::uint32_t value = 0;
    for (int i = 0; i < width_ && i < 16; ++i) {
        if (ckbBit_[static_cast<std::size_t>(i)]->isChecked()) value |= 1u << i;
    }
    guard_ = true;
    edtHex_->setText(QString::fromStdString(HexText(value, edtHex_->maxLength())));
    edtDecimal_->setText(QString::number(value));
    guard_ = false;
}

void GeneralDialog::ckbBinClick() {
    const QString text = ckbBin_->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    guard_ = true;
    edtHex_->setText(text);
    edtDecimal_->setText(text);
    guard_ = false;
}

bool GeneralDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && (watched == lblLowByte_ || watched == lblHighByte_)) {
        BitClick();
    }
    return QDialog::eventFilter(watched, event);
}

void GeneralDialog::PrepareAndShow() {
    edtHex_->selectAll();
    edtHex_->setFocus();
    exec();
}

void GeneralDialog::OpenFromMenu() {
    FillNames();
    cobNameChange();
    PrepareAndShow();
}

void GeneralDialog::OpenAt(const Location& at) {
    SelectKind(at.kind);
    FillNames();
    filling_ = true;
    if (at.kind == LocationKind::ExternalRAM) {
        cobName_->setEditText(QString::fromStdString(HexText(at.key, LocationKeyDigits(at.kind))));
    } else if (const int index = cobName_->findData(int{at.key}); index >= 0) {
        cobName_->setCurrentIndex(index);
    }
    filling_ = false;
    cobNameChange();
    PrepareAndShow();
}

}  // namespace tessaly::ui
