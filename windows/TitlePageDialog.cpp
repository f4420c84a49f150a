#include "windows/TitlePageDialog.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <vector>

#include "core/key/KeyFiles.h"
#include "core/key/TitlePage.h"
#include "core/platform/Text.h"
#include "core/session/Session.h"
#include "frame/Look.h"

namespace vorn {

TKeyTitle::TKeyTitle(QWidget* owner) : QDialog(owner) {
    setObjectName("KeyTitle");
    setWindowTitle("Title");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(723, 499);
    setWindowState(Qt::WindowMaximized);

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(5, 8, 714, 431);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(3);
    Panel1->setFont(SystemFont(17));
    SetBackground(Panel1, colours::Teal);

    BitBtn3 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "OK", this);
    BitBtn3->setObjectName("BitBtn3");
    BitBtn3->setGeometry(317, 451, 89, 40);
    BitBtn3->setDefault(true);
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate();
}

void TKeyTitle::FormCreate() {
    std::vector<std::string> lines = ReadTitlePage(CurrentSession().Key.DesFileName);

    int count = static_cast<int>(lines.size());
    int height = Panel1->height();
    Pitch = 18;
    if (count > 0 && height - 10 < 18 * count) Pitch = (height - 10) / count;
    setWindowTitle(QString::fromStdString(CurrentSession().Key.KeyName) + " KEY");

    int width = Panel1->width();
    int top = (height - count * Pitch) / 2;
    for (const std::string& line : lines) {
        auto* label = new QLabel(QString::fromStdString(KeyTextToUtf8(line)), Panel1);
        label->setTextFormat(Qt::PlainText);
        label->setGeometry(4, top, width - 8, 20);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        Lines.append(label);
        top += Pitch;
    }
}

}  // namespace vorn
