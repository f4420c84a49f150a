#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace vorn {

// True while the splash window exists; start-up waits on it.
inline bool SplashShowing = false;

// The splash window shown while the program starts. It closes itself when its timer
// fires, 1750 milliseconds after it was created, and is destroyed then.
class TSplashScreen : public QWidget {
    Q_OBJECT
public:
    TSplashScreen();
    ~TSplashScreen() override;

    QTimer* Timer1 = nullptr;
    QLabel* Image1 = nullptr;  // the logo
    QLabel* Image2 = nullptr;  // name and version
    QLabel* Image3 = nullptr;  // publication notice

public slots:
    void Timer1Timer();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace vorn
