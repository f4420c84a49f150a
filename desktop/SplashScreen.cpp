#include "desktop/SplashScreen.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include "frame/Look.h"

namespace vorn {
namespace {

// The panel covers the whole window and keeps the clicks that land on it, so only the
// window itself (never reached) would close on a click.
class ClickKeepingPanel : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
};

QLabel* Picture(QWidget* parent, const char* resource, QRect bounds) {
    auto* label = new QLabel(parent);
    label->setGeometry(bounds);
    label->setPixmap(QPixmap(resource));
    label->setScaledContents(true);
    return label;
}

}  // namespace

TSplashScreen::TSplashScreen() {
    LoadPictures();
    setObjectName("SplashScreen");
    setWindowTitle("SplashScreen");
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(304, 140);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        move(area.center() - rect().center());
    }

    auto* panel = new ClickKeepingPanel(this);
    panel->setObjectName("Panel1");
    panel->setGeometry(rect());
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(4);
    SetBackground(panel, colours::Grey);
    Image1 = Picture(panel, ":/pictures/logo.png", QRect(22, 16, 107, 109));
    auto* panel2 = new QFrame(panel);
    panel2->setGeometry(146, 32, 137, 77);
    panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetBackground(panel2, Qt::white);
    Image2 = Picture(panel2, ":/pictures/name.png", QRect(8, 9, 120, 60));
    Image3 = Picture(panel, ":/pictures/notice.png", QRect(146, 112, 127, 19));

    Timer1 = new QTimer(this);
    Timer1->setInterval(1750);
    Timer1->setSingleShot(true);
    // A coarse timer may fire a twentieth early; the splash keeps its full time.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &TSplashScreen::Timer1Timer);
    Timer1->start();
    SplashShowing = true;
}

TSplashScreen::~TSplashScreen() {
    SplashShowing = false;
}

void TSplashScreen::Timer1Timer() {
    Timer1->stop();
    close();
}

void TSplashScreen::mousePressEvent(QMouseEvent*) {
    Timer1Timer();
}

void TSplashScreen::closeEvent(QCloseEvent* event) {
    SplashShowing = false;
    event->accept();
}

}  // namespace vorn
