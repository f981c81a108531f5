#pragma once
// The box shown for a feature still in preparation: a picture and an OK button, shown modally.
#include <QDialog>

class TfrmWorking : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWorking(QWidget *parent = nullptr);
    ~TfrmWorking() override;

protected:
    void showEvent(QShowEvent *event) override;
};

extern TfrmWorking *frmWorking;
