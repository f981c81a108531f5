#pragma once
// The wait box: a borderless "In elaborazione..." box centred on the screen, shown around a long
// query together with the hourglass cursor.
#include <QWidget>

class TfrmWait : public QWidget {
    Q_OBJECT
public:
    explicit TfrmWait(QWidget *parent = nullptr);
    ~TfrmWait() override;

    // Shows and paints the box and sets the hourglass cursor; Finish hides it and restores the cursor.
    void Start();
    void Finish();

    // Start on construction, Finish on destruction; does nothing when there is no wait box.
    class Scope {
    public:
        Scope();
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;
    };

private:
    bool cursorSet_ = false;
};

extern TfrmWait *frmWait;
