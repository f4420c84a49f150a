#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace vorn {

// The About box: logo, name and version, author and address. Shown once, modally, at
// start-up and on the "About VORN" command; it places itself over the main window.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* owner);

    QFrame* BackgroundPanel = nullptr;
    QLabel* VornIcon = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QPushButton* OKButton = nullptr;

    // Where the box stands for a main window whose client area is `client`, with a
    // toolbar `toolbarHeight` high: centred over it, and below the toolbar 35 lower.
    static QPoint Position(QSize client, int toolbarHeight, QSize box);

private:
    void FormCreate();
};

}  // namespace vorn
