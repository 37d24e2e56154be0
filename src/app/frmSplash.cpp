#include "app/frmSplash.h"

#include "core/Artwork.h"
#include "config/ReceiverConfig.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget *parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    Picture2 = new QFrame(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setFrameShape(QFrame::Box);
    Picture2->setLineWidth(2);
    Picture2->setStyleSheet(QStringLiteral("QFrame#Picture2 { background: white; border: 2px solid #1f3a5f; }"));
    outer->addWidget(Picture2);

    auto *layout = new QVBoxLayout(Picture2);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(4);

    Image1 = new QLabel(Picture2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(splashPicture());
    Image1->setAlignment(Qt::AlignCenter);
    layout->addWidget(Image1);

    const std::array<const char *, 5> lines = {
        "Orvane SAME Receiver",
        "Brennick, Inc.",
        "www.example.com",
        "Telephone (555) 555-0142",
        "Anytown, USA",
    };
    for (int i = 0; i < 5; ++i) {
        auto *label = new QLabel(QString::fromLatin1(lines[i]), Picture2);
        label->setObjectName(QStringLiteral("Label2_%1").arg(i));
        label->setAlignment(Qt::AlignCenter);
        QFont f = label->font();
        if (i == 0) {
            f.setPointSize(f.pointSize() + 6);
            f.setBold(true);
        } else if (i == 1) {
            f.setPointSize(f.pointSize() + 2);
        }
        label->setFont(f);
        Label2[i] = label;
        layout->addWidget(label);
    }

    Label1 = new QLabel(QStringLiteral("Orvane Editor version = ") + ReceiverConfig.EDITOR.EditorVersion, Picture2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(QFont(QStringLiteral("Verdana")));
    layout->addSpacing(6);
    layout->addWidget(Label1);
    setWindowTitle(QStringLiteral("Orvane SAME Receiver"));
}
