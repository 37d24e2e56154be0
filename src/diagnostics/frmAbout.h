#pragma once
// The About box: the program's picture, the product and maker, the editor's version and the
// receiver's firmware version as last read, OK and "System Info".

#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    QLabel *Image1 = nullptr;
    QLabel *lblProduct = nullptr; // "SAME Digital Weather Receiver"
    QLabel *lblTitle = nullptr;   // "Orvane"
    QLabel *lblCompany = nullptr, *lblTown = nullptr, *lblTelephone = nullptr, *lblWebAddress = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QLabel *Label1 = nullptr; // editor version
    QLabel *Label3 = nullptr; // receiver firmware version
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdSysInfo = nullptr;

    // Shows the two versions as the record holds them now.
    void showVersions();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
};

// The Help menu's "&About": the About box, modal.
void showAboutBox(QWidget *parent);
