#include "dialogs/WelcomeScreen.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "dialogs/Centre.h"

namespace tessaly::ui {

namespace {

constexpr int kWidth = 450;
constexpr int kHeight = 337;
constexpr int kPinsPerSide = 10;

const QColor kBackgroundTop(0x1b, 0x2a, 0x47);
const QColor kBackgroundBottom(0x0c, 0x14, 0x24);
const QColor kTrace(0x2e, 0x45, 0x6d);
const QColor kAccent(0xf2, 0xa5, 0x41);
const QColor kTitle(0xf4, 0xf6, 0xfa);
const QColor kSubtitle(0x9f, 0xb3, 0xd1);

QFont Font(int pixels, bool bold, QFont::StyleHint hint = QFont::SansSerif) {
    QFont font;
    font.setStyleHint(hint);
    font.setFamily(hint == QFont::Monospace ? QStringLiteral("Monospace") : QStringLiteral("Sans Serif"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A dual-in-line package lying on its side: pins along the long edges, the
// orientation notch on the left, the pin-1 dot below it.
void DrawChip(QPainter& p, const QRectF& body) {
    const qreal pitch = body.width() / kPinsPerSide;
    const QSizeF pin(pitch * 0.45, 13);
    QLinearGradient silver(0, 0, pin.width(), 0);
    silver.setColorAt(0, QColor(0xe3, 0xe7, 0xec));
    silver.setColorAt(1, QColor(0x95, 0x9e, 0xaa));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < kPinsPerSide; ++i) {
        const qreal x = body.left() + pitch * (i + 0.5) - pin.width() / 2;
        silver.setStart(x, 0);
        silver.setFinalStop(x + pin.width(), 0);
        p.setBrush(silver);
        p.drawRect(QRectF(QPointF(x, body.top() - pin.height()), pin));
        p.drawRect(QRectF(QPointF(x, body.bottom()), pin));

        // Traces from the outer pins run off to pads, as on a board.
        if (i < 3 || i >= kPinsPerSide - 3) {
            const bool left = i < 3;
            const qreal cx = x + pin.width() / 2;
            const qreal rise = 14 + 10 * (left ? 2 - i : i - (kPinsPerSide - 3));
            const qreal run = 40 + 14 * (left ? 2 - i : i - (kPinsPerSide - 3));
            QPainterPath trace;
            trace.moveTo(cx, body.top() - pin.height());
            trace.lineTo(cx, body.top() - pin.height() - rise);
            trace.lineTo(cx + (left ? -run : run), body.top() - pin.height() - rise);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(kTrace, 2));
            p.drawPath(trace);
            p.setPen(Qt::NoPen);
            p.setBrush(kAccent);
            p.drawEllipse(trace.currentPosition(), 3.5, 3.5);
        }
    }

    QPainterPath package;
    package.addRoundedRect(body, 5, 5);
    QPainterPath notch;
    notch.addEllipse(QPointF(body.left(), body.center().y()), 10, 10);
    package = package.subtracted(notch);
    QLinearGradient black(body.topLeft(), body.bottomLeft());
    black.setColorAt(0, QColor(0x43, 0x48, 0x52));
    black.setColorAt(1, QColor(0x1f, 0x22, 0x28));
    p.setPen(QPen(QColor(0x56, 0x5c, 0x68), 1));
    p.setBrush(black);
    p.drawPath(package);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5e, 0x64, 0x6f));
    p.drawEllipse(QPointF(body.left() + 22, body.bottom() - 16), 5, 5);

    p.setPen(QColor(0xe8, 0xec, 0xf1));
    p.setFont(Font(28, true, QFont::Monospace));
    p.drawText(body, Qt::AlignCenter, QStringLiteral("8051"));
}

}  // namespace

WelcomeScreen::WelcomeScreen(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TfrmWelcomeScreen"));
    setWindowTitle(QStringLiteral("Tessaly"));
    resize(kWidth, kHeight);
    CentreOnScreen(*this);
}

QImage WelcomeScreen::Picture(const QSize& size) {
    QImage image(QSize(kWidth, kHeight), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, kBackgroundTop);
    sky.setColorAt(1, kBackgroundBottom);
    p.fillRect(image.rect(), sky);

    DrawChip(p, QRectF(135, 82, 180, 92));

    p.setPen(kTitle);
    p.setFont(Font(46, true));
    p.drawText(QRectF(0, 200, kWidth, 56), Qt::AlignCenter, QStringLiteral("Tessaly"));
    p.setPen(QPen(kAccent, 2));
    p.drawLine(QPointF(kWidth / 2.0 - 36, 260), QPointF(kWidth / 2.0 + 36, 260));
    p.setPen(kSubtitle);
    p.setFont(Font(16, false));
    p.drawText(QRectF(0, 268, kWidth, 26), Qt::AlignCenter, QStringLiteral("8051 simulator and debugger"));

    p.setPen(QPen(QColor(0x3b, 0x52, 0x80), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1));
    p.end();

    if (size == image.size()) return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void WelcomeScreen::paintEvent(QPaintEvent*) {
    if (picture_.size() != size()) picture_ = Picture(size());
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

}  // namespace tessaly::ui
