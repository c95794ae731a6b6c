#include "views/SfrView.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <memory>
#include <optional>
#include <string>

#include "control/Location.h"
#include "core/Sfr.h"
#include "session/Session.h"
#include "util/HexText.h"
#include "views/LocationCommands.h"
#include "views/MemoryGrid.h"
#include "views/ViewContext.h"

namespace tessaly::ui {

namespace {

constexpr int kBoxesPerRow = 2;

template <std::uint8_t Address>
std::uint16_t Byte(const Processor& p) {
    return p.ReadDirect(Address);
}
std::uint16_t Timer0(const Processor& p) { return p.GetTimer0(); }
std::uint16_t Timer1(const Processor& p) { return p.GetTimer1(); }
std::uint16_t Timer2(const Processor& p) { return p.GetTimer2(); }
std::uint16_t Rcap2(const Processor& p) { return p.GetRCAP2(); }
std::uint16_t Dptr(const Processor& p) { return p.GetDPTR(); }

QGroupBox* Group(const char* caption, QWidget* parent) {
    auto* group = new QGroupBox(QLatin1String(caption), parent);
    new QGridLayout(group);
    return group;
}

// The next free place of a label and its box in a group, two to a row.
void Place(QGroupBox* group, QWidget* label, QWidget* box) {
    auto* grid = static_cast<QGridLayout*>(group->layout());
    const int placed = grid->count() / 2;
    const int row = placed / kBoxesPerRow;
    const int column = (placed % kBoxesPerRow) * 2;
    grid->addWidget(label, row, column);
    grid->addWidget(box, row, column + 1);
}

// Where General Write opens for a component whose record was not found: the
// first of its kind, as the dialog's name list begins.
std::uint16_t FirstRecord(const Processor& p, LocationKind kind) {
    const LocationNames names = FillNames(p, kind);
    return names.items.empty() ? 0 : names.items.front().key;
}

}  // namespace

SfrView::SfrView(ViewContext& context, MessageHost& messages, QWidget* parent)
    : ChildView(layout_window::kSfrWindow, QStringLiteral("SFRs window"), parent), context_(context), messages_(messages) {
    setObjectName(QStringLiteral("TfrmSFRWindow"));

    QGroupBox* general = Group("General", this);
    AddBox(general, "ACC", 2, &Byte<sfr::ACC>);
    AddBox(general, "B", 2, &Byte<sfr::B>);
    for (int n = 0; n < 8; ++n) AddWorkingRegister(general, n);

    QGroupBox* timers = Group("Timers", this);
    AddBox(timers, "TMOD", 2, &Byte<sfr::TMOD>);
    AddBox(timers, "TCON", 2, &Byte<sfr::TCON>);
    AddBox(timers, "T2CON", 2, &Byte<sfr::T2CON>);
    AddBox(timers, "T0", 4, &Timer0);
    AddBox(timers, "T1", 4, &Timer1);
    AddBox(timers, "T2", 4, &Timer2);
    AddBox(timers, "RCAP2", 4, &Rcap2);

    QGroupBox* others = Group("Others", this);
    AddBox(others, "PSW", 2, &Byte<sfr::PSW>);
    AddBox(others, "SP", 2, &Byte<sfr::SP>);
    AddBox(others, "IE", 2, &Byte<sfr::IE>);
    AddBox(others, "IP", 2, &Byte<sfr::IP>);
    AddBox(others, "PCON", 2, &Byte<sfr::PCON>);
    AddBox(others, "SBUF", 2, &Byte<sfr::SBUF>);
    AddBox(others, "SCON", 2, &Byte<sfr::SCON>);
    AddBox(others, "DPTR", 4, &Dptr);

    QGroupBox* ports = Group("I/O Ports", this);
    AddBox(ports, "P0", 2, &Byte<sfr::P0>);
    AddBox(ports, "P1", 2, &Byte<sfr::P1>);
    AddBox(ports, "P2", 2, &Byte<sfr::P2>);
    AddBox(ports, "P3", 2, &Byte<sfr::P3>);

    auto* flags = new QGroupBox(QStringLiteral("Flags"), this);
    new QHBoxLayout(flags);
    AddFlag(flags, "CY", bit::CY);
    AddFlag(flags, "AC", bit::AC);
    AddFlag(flags, "OV", bit::OV);
    AddFlag(flags, "P", bit::P);
    AddFlag(flags, "RS1", bit::RS1);
    AddFlag(flags, "RS0", bit::RS0);

    auto* left = new QVBoxLayout;
    left->addWidget(general);
    left->addWidget(others);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(timers);
    right->addWidget(ports);
    right->addWidget(flags);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right);

    Refresh();
}

void SfrView::AddBox(QGroupBox* group, const char* name, int digits, std::uint16_t (*read)(const Processor&)) {
    auto* label = new QLabel(QLatin1String(name), group);
    auto* edit = new QLineEdit(group);
    edit->setObjectName(QStringLiteral("edt") + QLatin1String(name));
    edit->setReadOnly(true);
    edit->setAccessibleName(QLatin1String(name));
    // Room for the digits and the frame, whatever the system font.
    const QString widest(digits, QLatin1Char('D'));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(widest) + 16);
    label->setBuddy(edit);
    edit->installEventFilter(this);
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& at) { ShowMenu(*edit, at); });
    Place(group, label, edit);
    const bool working = read == nullptr;
    boxes_.push_back({edit, working ? Target::WorkingRegister : Target::Register, digits, read, 0,
                      CatalogueIndex(LocationKind::SfrRegister, name)});
}

void SfrView::AddWorkingRegister(QGroupBox* group, int n) {
    const std::string name = "R" + std::to_string(n);
    AddBox(group, name.c_str(), 2, nullptr);
    boxes_.back().workingRegister = n;
}

void SfrView::AddFlag(QGroupBox* group, const char* name, int bit) {
    auto* label = new QLabel(QLatin1String(name), group);
    label->setObjectName(QStringLiteral("lbl") + QLatin1String(name));
    label->setAccessibleName(QLatin1String(name));
    // Reachable from the keyboard, so Enter opens the write dialog as a
    // double-click does.
    label->setFocusPolicy(Qt::StrongFocus);
    label->installEventFilter(this);
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(label, &QWidget::customContextMenuRequested, this,
            [this, label](const QPoint& at) { ShowMenu(*label, at); });
    group->layout()->addWidget(label);
    flags_.push_back({label, bit, CatalogueIndex(LocationKind::SfrBit, name)});
}

QColor SfrView::FlagColour(bool set) { return set ? QColor(Qt::red) : QColor(Qt::blue); }

bool SfrView::IsHighlighted(const QLineEdit& box) { return box.property("changed").toBool(); }

void SfrView::Highlight(QLineEdit& box, bool on) {
    if (IsHighlighted(box) == on) return;
    box.setProperty("changed", on);
    if (!on) {
        box.setPalette(QPalette());
        return;
    }
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, MemoryGridModel::HighlightColour());
    box.setPalette(palette);
}

void SfrView::Refresh() {
    const Processor& p = context_.session.processor();
    shownValues_.resize(boxes_.size(), -1);
    shownFlags_.resize(flags_.size(), -1);
    highlighted_.resize(boxes_.size(), 0);
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        const Box& box = boxes_[i];
        const std::uint16_t value = box.read ? box.read(p) : p.ReadRegister(static_cast<unsigned>(box.workingRegister));
        const bool changed = shownValues_[i] != value;
        if (changed) {
            shownValues_[i] = value;
            const QString text = QString::fromStdString(HexText(value, box.digits));
            if (box.edit->text() != text) box.edit->setText(text);
        }
        // The first refresh fills the boxes; it changes nothing the user saw.
        const char highlight = changed && refreshed_ ? 1 : 0;
        if (highlighted_[i] != highlight) {
            highlighted_[i] = highlight;
            Highlight(*box.edit, highlight != 0);
        }
    }
    for (std::size_t i = 0; i < flags_.size(); ++i) {
        const Flag& flag = flags_[i];
        const int set = p.ReadBit(static_cast<std::uint8_t>(flag.bit)) != 0 ? 1 : 0;
        if (shownFlags_[i] == set) continue;
        shownFlags_[i] = set;
        QPalette palette = flag.label->palette();
        palette.setColor(QPalette::WindowText, FlagColour(set != 0));
        flag.label->setPalette(palette);
        // The colour is the value; the name says it in words.
        flag.label->setAccessibleName(flag.label->text() + (set ? QStringLiteral(" = 1") : QStringLiteral(" = 0")));
    }
    refreshed_ = true;
}

bool SfrView::eventFilter(QObject* watched, QEvent* event) {
    auto* component = qobject_cast<QWidget*>(watched);
    if (!component) return ChildView::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Open(*component);
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Open(*component);
            return true;
        }
    }
    return ChildView::eventFilter(watched, event);
}

void SfrView::Open(QWidget& component) {
    const Processor& p = context_.session.processor();
    for (const Box& box : boxes_) {
        if (box.edit != &component) continue;
        if (box.target == Target::WorkingRegister) {
            // The register's byte in internal RAM: the bank base plus its number.
            const auto address = static_cast<std::uint16_t>(p.RegisterBankBase() + box.workingRegister);
            context_.openGeneralWrite(Location{LocationKind::InternalRAM, address});
            return;
        }
        if (!box.record) messages_.Tell(MessageKind::Plain, "Specified name not found( SFR Registers )");
        const auto key = box.record ? *box.record : FirstRecord(p, LocationKind::SfrRegister);
        context_.openGeneralWrite(Location{LocationKind::SfrRegister, key});
        return;
    }
    for (const Flag& flag : flags_) {
        if (flag.label != &component) continue;
        if (!flag.record) messages_.Tell(MessageKind::Plain, "Specified name not found( SFR Bits )");
        const auto key = flag.record ? *flag.record : FirstRecord(p, LocationKind::SfrBit);
        context_.openGeneralWrite(Location{LocationKind::SfrBit, key});
        return;
    }
}

std::optional<Location> SfrView::LocationOf(const QWidget& component) const {
    for (const Box& box : boxes_) {
        if (box.edit != &component) continue;
        if (box.target == Target::WorkingRegister) {
            const auto address = context_.session.processor().RegisterBankBase() + box.workingRegister;
            return Location{LocationKind::InternalRAM, static_cast<std::uint16_t>(address)};
        }
        if (!box.record) return std::nullopt;
        return Location{LocationKind::SfrRegister, *box.record};
    }
    for (const Flag& flag : flags_) {
        if (flag.label != &component) continue;
        if (!flag.record) return std::nullopt;
        return Location{LocationKind::SfrBit, *flag.record};
    }
    return std::nullopt;
}

// A value box keeps its own menu (Copy, Select All) above the location's
// commands; a flag has only those.
void SfrView::ShowMenu(QWidget& component, const QPoint& at) {
    std::unique_ptr<QMenu> menu;
    if (auto* edit = qobject_cast<QLineEdit*>(&component)) menu.reset(edit->createStandardContextMenu());
    else menu = std::make_unique<QMenu>(&component);
    const std::optional<Location> location = LocationOf(component);
    AddLocationCommands(*menu, context_.locationCommands,
                        location ? DataBreakName(context_.session.processor(), *location) : std::string());
    menu->exec(component.mapToGlobal(at));
}

}  // namespace tessaly::ui
