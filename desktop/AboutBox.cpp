#include "desktop/AboutBox.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "desktop/MainWindow.h"
#include "frame/Look.h"

namespace vorn {
namespace {

QLabel* Picture(QWidget* parent, const char* name, const char* resource, QRect bounds) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(bounds);
    label->setPixmap(QPixmap(resource));
    label->setScaledContents(true);
    return label;
}

QFrame* Panel(QWidget* parent, const char* name, QRect bounds, int shadow, int lineWidth) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setGeometry(bounds);
    panel->setFrameStyle(QFrame::Panel | shadow);
    panel->setLineWidth(lineWidth);
    return panel;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner) {
    LoadPictures();
    setObjectName("AboutBox");
    setWindowTitle("About VORN");
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(488, 325);

    QFrame* frame = Panel(this, "Panel", rect(), QFrame::Raised, 4);
    BackgroundPanel = Panel(frame, "BackgroundPanel", QRect(16, 16, 456, 251), QFrame::Sunken, 4);
    SetBackground(BackgroundPanel, colours::Grey);
    BackgroundPanel->setFont(SmallFont(13));
    VornIcon = Picture(BackgroundPanel, "VornIcon", ":/pictures/logo.png", QRect(48, 20, 105, 109));
    Panel1 = Panel(BackgroundPanel, "Panel1", QRect(182, 36, 137, 77), QFrame::Sunken, 1);
    SetBackground(Panel1, Qt::white);
    Image1 = Picture(Panel1, "Image1", ":/pictures/name.png", QRect(10, 9, 120, 60));
    Image2 = Picture(BackgroundPanel, "Image2", ":/pictures/address.png",
                     QRect((456 - 448) / 2, 251 - 4 - 120, 448, 120));

    OKButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "OK", frame);
    OKButton->setObjectName("OKButton");
    OKButton->setGeometry(202, 280, 84, 33);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    FormCreate();
}

QPoint TAboutBox::Position(QSize client, int toolbarHeight, QSize box) {
    int left = (client.width() - box.width()) / 2;
    int top = (client.height() - toolbarHeight - box.height()) / 2 + toolbarHeight + 35;
    return {left, top};
}

void TAboutBox::FormCreate() {
    auto* main = dynamic_cast<const TMainForm*>(parentWidget());
    if (!main) return;
    move(Position(main->ClientSize(), main->TopPanel->height(), size()));
}

}  // namespace vorn
