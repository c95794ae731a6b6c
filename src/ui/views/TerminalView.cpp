#include "views/ToolButtons.h"
#include "views/TerminalView.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStyle>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "dialogs/SendByteDialog.h"
#include "session/Session.h"
#include "views/SelectionCopy.h"
#include "views/ViewContext.h"

namespace tessaly::ui {

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 380;
// A pane is one paragraph, laid out again in full at every append: once that
// takes this long, appends wait until ten times as long has passed, so a
// program that keeps writing costs the run at most a tenth of its time.
constexpr qint64 kSlowAppendMs = 4;
constexpr qint64 kAppendShare = 10;


QLineEdit* RateBox(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setAccessibleName(caption);
    return box;
}

QString RateText(std::int32_t rate) {
    return rate == -1 ? QStringLiteral("Unknown Baud rate") : QString::number(rate);
}

template <class Widget>
void SetTextIfDifferent(Widget* widget, const QString& text) {
    if (widget->text() != text) widget->setText(text);
}

}  // namespace

const char* const TerminalView::kPreferencesFile = "terminal.ini";

TerminalView::TerminalView(ViewContext& context, SendByteDialog& sendByte, QWidget* parent)
    : ChildView(layout_window::kTerminal, QStringLiteral("Terminal Window"), parent), context_(context), sendByte_(sendByte) {
    setObjectName(QStringLiteral("TfrmTerminalWindow"));

    auto* bar = new QToolBar(this);
    auto* transmitByte = AddToolButton(bar, "tlbTransmitByte", QStringLiteral("Transmit Byte"),
                                       QStringLiteral("Transmit Byte"), style()->standardIcon(QStyle::SP_ArrowRight),
                                       Qt::ToolButtonIconOnly);
    auto* clearTx = AddToolButton(bar, "tlbClearTxBuffer", QStringLiteral("Clear Transmit Buffer"),
                                  QStringLiteral("Clear Transmit Buffer"),
                                  style()->standardIcon(QStyle::SP_DialogResetButton), Qt::ToolButtonIconOnly);
    auto* clearRx = AddToolButton(bar, "tlbClearRxBuffer", QStringLiteral("Clear Receive Buffer"),
                                  QStringLiteral("Clear Receive Buffer"),
                                  style()->standardIcon(QStyle::SP_DialogDiscardButton), Qt::ToolButtonIconOnly);
    auto* refresh =
        AddToolButton(bar, "tlbRefresh", QStringLiteral("Refresh"), QStringLiteral("Refresh"),
                      QIcon(QStringLiteral(":/icons/refresh.svg")), Qt::ToolButtonIconOnly);
    connect(transmitByte, &QToolButton::clicked, this, &TerminalView::tlbTransmitByteClick);
    connect(clearTx, &QToolButton::clicked, this, &TerminalView::tlbClearTxBufferClick);
    connect(clearRx, &QToolButton::clicked, this, &TerminalView::tlbClearRxBufferClick);
    connect(refresh, &QToolButton::clicked, this, &TerminalView::Refresh);

    const QString transmitCaption = QStringLiteral("Apparent Transmit Baud Rate");
    const QString receiveCaption = QStringLiteral("Apparent Receive Baud Rate");
    edtTransmitBR_ = RateBox("edtTransmitBR", transmitCaption, this);
    edtReceiveBR_ = RateBox("edtReceiveBR", receiveCaption, this);
    auto* rates = new QGridLayout;
    rates->addWidget(new QLabel(transmitCaption, this), 0, 0);
    rates->addWidget(edtTransmitBR_, 0, 1);
    rates->addWidget(new QLabel(receiveCaption, this), 1, 0);
    rates->addWidget(edtReceiveBR_, 1, 1);

    transmit_.side = SerialLogSide::Transmit;
    receive_.side = SerialLogSide::Receive;
    QWidget* transmitPane = BuildPane(transmit_, QStringLiteral("Transmit Buffer Count = "), "lblTxCount",
                                      "rheTransmit", "cobTxFormat", QStringLiteral("Transmitted bytes"));
    QWidget* receivePane = BuildPane(receive_, QStringLiteral("Receive Buffer Count = "), "lblRxCount", "rheReceive",
                                     "cobRxFormat", QStringLiteral("Received bytes"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(6, 0, 6, 6);
    body->addLayout(rates);
    body->addWidget(transmitPane, 1);
    body->addWidget(receivePane, 1);
    layout->addLayout(body, 1);
    resize(kWidth, kHeight);

    LoadFormats();
    // A newly opened terminal shows each record again from its first byte.
    ForgetShownSerialBytes(context_.session.processor());
    Refresh();
}

QWidget* TerminalView::BuildPane(Pane& pane, const QString& countCaption, const char* countName,
                                       const char* textName, const char* formatName, const QString& paneName) {
    auto* box = new QWidget(this);
    auto* caption = new QLabel(countCaption, box);
    pane.count = new QLabel(box);
    pane.count->setObjectName(QLatin1String(countName));
    pane.countCaption = countCaption;
    pane.format = new QComboBox(box);
    pane.format->setObjectName(QLatin1String(formatName));
    pane.format->addItems({QStringLiteral("Hex"), QStringLiteral("Text")});
    pane.format->setAccessibleName(paneName + QStringLiteral(" shown as"));
    pane.text = new QPlainTextEdit(box);
    pane.text->setObjectName(QLatin1String(textName));
    pane.text->setAccessibleName(paneName);
    pane.text->setReadOnly(true);
    pane.text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane.text->setUndoRedoEnabled(false);
    // The pane breaks lines only where it runs out of width, so its text is
    // the bytes exactly as they came and copies without breaks of its own.
    pane.text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    pane.text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Hex digits and ASCII need no shaping; skipping it halves the cost of
    // laying the pane's one long line out again.
    QFont font = pane.text->font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    pane.text->setFont(font);
    pane.catchUp = new QTimer(this);
    pane.catchUp->setSingleShot(true);
    connect(pane.catchUp, &QTimer::timeout, this, [this, &pane] { ShowNewBytes(pane); });
    SelectionCopy::Attach(*pane.text);

    auto* countRow = new QHBoxLayout;
    countRow->addWidget(caption);
    countRow->addWidget(pane.count);
    countRow->addStretch(1);
    countRow->addWidget(pane.format);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(countRow);
    layout->addWidget(pane.text, 1);

    connect(pane.format, &QComboBox::currentIndexChanged, this, [this, &pane] {
        Redraw(pane);
        SaveFormats();
    });
    return box;
}

TerminalView::PaneFormat TerminalView::FormatOf(const Pane& pane) const {
    return pane.format->currentIndex() == 1 ? PaneFormat::Text : PaneFormat::Hex;
}

void TerminalView::Refresh() {
    Processor& p = context_.session.processor();
    // Gone back in time, the records hold fewer bytes than the panes show:
    // each pane shows its record as it is now, and goes on from there.
    if (const std::uint64_t rewinds = context_.session.History().Rewinds(); rewinds != rewindsSeen_) {
        rewindsSeen_ = rewinds;
        p.iTxLogShown = p.iTxLogPos;
        p.iRxLogShown = p.iRxLogPos;
        Redraw(transmit_);
        Redraw(receive_);
    }
    SetTextIfDifferent(edtTransmitBR_, RateText(p.iTxBaudRate));
    SetTextIfDifferent(edtReceiveBR_, RateText(p.iRxBaudRate));
    ShowCount(transmit_, p.iTxLogPos);
    ShowNewBytes(transmit_);
    ShowCount(receive_, p.iRxLogPos);
    ShowNewBytes(receive_);
}

void TerminalView::ShowCount(Pane& pane, std::int32_t count) {
    const QString text = QString::number(count);
    if (pane.count->text() == text) return;
    pane.count->setText(text);
    // The caption is a label of its own: the count's name says both, as the
    // window reads, so a screen reader hears the number with what it counts.
    pane.count->setAccessibleName(pane.countCaption + text);
}

QString TerminalView::Rendered(Pane& pane, std::span<const std::uint8_t> bytes) {
    if (FormatOf(pane) == PaneFormat::Text) {
        return QString::fromLatin1(SerialBytesAsText(bytes, pane.afterCarriageReturn));
    }
    return QString::fromLatin1(SerialBytesAsHex(bytes));
}

void TerminalView::ShowNewBytes(Pane& pane) {
    if (pane.appendCost >= kSlowAppendMs) {
        const qint64 wait = kAppendShare * pane.appendCost - pane.sinceAppend.elapsed();
        if (wait > 0) {
            // The bytes stay unshown in the record until the pane catches up.
            if (!pane.catchUp->isActive()) pane.catchUp->start(static_cast<int>(wait));
            return;
        }
    }
    const auto bytes = TakeUnshownBytes(context_.session.processor(), pane.side);
    if (bytes.empty()) return;
    QElapsedTimer cost;
    cost.start();
    QTextCursor end(pane.text->document());
    end.movePosition(QTextCursor::End);
    end.insertText(Rendered(pane, bytes));
    // The caret on the last character keeps the end in view.
    pane.text->moveCursor(QTextCursor::End);
    pane.text->ensureCursorVisible();
    pane.appendCost = cost.elapsed();
    pane.sinceAppend.start();
}

void TerminalView::Redraw(Pane& pane) {
    const Processor& p = context_.session.processor();
    const std::int32_t shown = pane.side == SerialLogSide::Transmit ? p.iTxLogShown : p.iRxLogShown;
    auto bytes = RecordedBytes(p, pane.side);
    bytes = bytes.first(std::min(bytes.size(), static_cast<std::size_t>(std::max(shown, 0))));
    pane.afterCarriageReturn = false;
    pane.text->setPlainText(Rendered(pane, bytes));
    pane.text->moveCursor(QTextCursor::End);
    pane.text->ensureCursorVisible();
}

void TerminalView::Clear(Pane& pane) {
    ClearSerialLog(context_.session.processor(), pane.side);
    pane.text->clear();
    pane.afterCarriageReturn = false;
    Refresh();
}

void TerminalView::tlbTransmitByteClick() { sendByte_.exec(); }

void TerminalView::tlbClearTxBufferClick() { Clear(transmit_); }

void TerminalView::tlbClearRxBufferClick() { Clear(receive_); }

QString TerminalView::PreferencesPath() const {
    return QString::fromStdString((context_.session.ConfigDirectory() / kPreferencesFile).string());
}

void TerminalView::LoadFormats() {
    QSettings preferences(PreferencesPath(), QSettings::IniFormat);
    for (Pane* pane : {&transmit_, &receive_}) {
        const QString key = pane == &transmit_ ? QStringLiteral("Transmit/Format") : QStringLiteral("Receive/Format");
        const bool text = preferences.value(key).toString() == QStringLiteral("Text");
        const QSignalBlocker quiet(pane->format);
        pane->format->setCurrentIndex(text ? 1 : 0);
    }
}

void TerminalView::SaveFormats() const {
    QSettings preferences(PreferencesPath(), QSettings::IniFormat);
    preferences.setValue(QStringLiteral("Transmit/Format"), transmit_.format->currentText());
    preferences.setValue(QStringLiteral("Receive/Format"), receive_.format->currentText());
}

}  // namespace tessaly::ui
