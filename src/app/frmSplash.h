// Top floor (src/app): entry point, start-up, splash and main window; may use every folder.
#pragma once
// The start-up splash: the editor version, the product and the maker.

#include <QDialog>
#include <array>

class QFrame;
class QLabel;

class frmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    QFrame *Picture2 = nullptr;
    QLabel *Label1 = nullptr;
    std::array<QLabel *, 5> Label2{};
    QLabel *Image1 = nullptr;
};
