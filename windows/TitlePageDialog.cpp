#include "windows/TitlePageDialog.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "core/key/KeyFiles.h"
#include "core/key/TitlePage.h"
#include "core/platform/Text.h"
#include "core/session/Session.h"
#include "frame/Look.h"

namespace vorn {
namespace {

// The size the panel and the button were laid out for.
constexpr QSize kDesignSize(723, 499);

}  // namespace

TKeyTitle::TKeyTitle(QWidget* owner) : QDialog(owner) {
    setObjectName("KeyTitle");
    setWindowTitle("Title");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(kDesignSize);
    setWindowState(Qt::WindowMaximized);

    Content = new QWidget(this);
    Content->setObjectName("Content");
    Content->setGeometry(QRect(QPoint(0, 0), kDesignSize));

    Panel1 = new QFrame(Content);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(5, 8, 714, 431);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(3);
    Panel1->setFont(SystemFont(17));
    SetBackground(Panel1, colours::Teal);

    BitBtn3 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "OK", Content);
    BitBtn3->setObjectName("BitBtn3");
    BitBtn3->setGeometry(317, 451, 89, 40);
    BitBtn3->setDefault(true);
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate();
}

void TKeyTitle::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // Centred in a larger dialog; in a smaller one its top-left corner stays in view.
    Content->move(std::max(0, (width() - kDesignSize.width()) / 2),
                  std::max(0, (height() - kDesignSize.height()) / 2));
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
