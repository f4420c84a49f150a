#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

namespace vorn {

// The key's title page: the lines of NAME.DES, trimmed and centred on a teal panel, with
// an OK button (key/TitlePage.h reads the lines). Created anew each time it is shown; closing it
// without OK is declining the key. Shown maximized, with its content centred. Reading the
// file may throw IoError.
class TKeyTitle : public QDialog {
    Q_OBJECT
public:
    explicit TKeyTitle(QWidget* owner);

    // The panel and the button, in a block of the dialog's design size centred in it.
    QWidget* Content = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QList<QLabel*> Lines;
    int Pitch = 18;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
};

}  // namespace vorn
