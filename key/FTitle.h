#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <string>

class QFrame;
class QLabel;
class QPushButton;

namespace vorn {

// The key's title page: the lines of NAME.DES, trimmed and centred on a teal panel, with
// an OK button. Created anew each time it is shown; closing it without OK is declining
// the key. Reading the file may throw IoError.
class TKeyTitle : public QDialog {
    Q_OBJECT
public:
    explicit TKeyTitle(QWidget* owner);

    QFrame* Panel1 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QList<QLabel*> Lines;
    int Pitch = 18;

    // One line of the title page as it is shown: blanks gone at both ends, a leading
    // control character 0x03 removed, the first "(c)" turned into the copyright sign.
    static std::string TitleLine(std::string line);

    // Lines beyond this many would all stand at one place: the pitch is 0 by then.
    static constexpr int kMaxLines = 421;

private:
    void FormCreate();
};

}  // namespace vorn
