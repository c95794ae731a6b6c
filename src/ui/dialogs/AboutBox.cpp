#include "dialogs/AboutBox.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly::ui {

namespace {

constexpr int kIconSize = 64;
const char* const kIconResource = ":/icons/tessaly.svg";

// Bold 19-pixel Tahoma; where Tahoma is missing the font matcher picks the
// nearest sans serif.
QFont TitleFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(19);
    font.setBold(true);
    return font;
}

QIcon ProgramIcon() {
    if (QFile::exists(QLatin1String(kIconResource))) return QIcon(QLatin1String(kIconResource));
    return QApplication::windowIcon();
}

}  // namespace

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TfrmAboutBox"));
    setWindowTitle(QStringLiteral("About Tessaly"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);

    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(ProgramIcon().pixmap(kIconSize, kIconSize));
    icon->setFixedSize(kIconSize, kIconSize);

    auto* productName = new QLabel(QStringLiteral("Tessaly"), panel);
    productName->setObjectName(QStringLiteral("ProductName"));
    productName->setFont(TitleFont());
    auto* version = new QLabel(QStringLiteral("Version 2.0.0.196"), panel);
    version->setObjectName(QStringLiteral("Version"));
    version->setFont(TitleFont());

    auto* texts = new QVBoxLayout;
    texts->addStretch(1);
    texts->addWidget(productName);
    texts->addWidget(version);
    texts->addStretch(1);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(16, 16, 16, 16);
    panelLayout->setSpacing(16);
    panelLayout->addWidget(icon, 0, Qt::AlignTop);
    panelLayout->addLayout(texts, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    resize(300, 190);
}

}  // namespace tessaly::ui
